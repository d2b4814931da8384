# The SWF player that the preview loads into its pages and web folders carry
# comes from the npm package installed by scripts/setup. orbilux_bundle_player(target folder)
# copies its files into folder (a folder "ruffle" beside the target's
# executable, where the program looks for it) whenever target is built;
# with INSTALL_DESTINATION dir, installing puts them into dir/ruffle.
get_filename_component(ORBILUX_PLAYER_SOURCE ${CMAKE_CURRENT_LIST_DIR}/../node_modules/@ruffle-rs/ruffle ABSOLUTE)

function(orbilux_bundle_player target folder)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "INSTALL_DESTINATION" "")
  # Source maps are left out: the player runs without them.
  file(GLOB files CONFIGURE_DEPENDS ${ORBILUX_PLAYER_SOURCE}/*.js ${ORBILUX_PLAYER_SOURCE}/*.wasm
       ${ORBILUX_PLAYER_SOURCE}/LICENSE_* ${ORBILUX_PLAYER_SOURCE}/package.json)
  if(NOT files)
    message(WARNING "No SWF player in ${ORBILUX_PLAYER_SOURCE} (run scripts/setup): "
                    "the preview will show a notice that the player is missing.")
    return()
  endif()
  set(outputs)
  foreach(file IN LISTS files)
    get_filename_component(name ${file} NAME)
    add_custom_command(OUTPUT ${folder}/${name}
                       COMMAND ${CMAKE_COMMAND} -E copy_if_different ${file} ${folder}/${name}
                       DEPENDS ${file} VERBATIM)
    list(APPEND outputs ${folder}/${name})
  endforeach()
  add_custom_target(${target}_player ALL DEPENDS ${outputs})
  add_dependencies(${target} ${target}_player)
  if(arg_INSTALL_DESTINATION)
    install(FILES ${files} DESTINATION ${arg_INSTALL_DESTINATION}/ruffle)
  endif()
endfunction()
