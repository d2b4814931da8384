# The SWF player that plays the window's preview (and that web folders of
# the builder carry) comes from the npm package that scripts/setup installs.
# A build without it is refused unless configured with -DORBILUX_PLAYER=OFF;
# the preview of such a build says that it has no player.
get_filename_component(ORBILUX_PLAYER_SOURCE ${CMAKE_CURRENT_LIST_DIR}/../node_modules/@ruffle-rs/ruffle ABSOLUTE)
# Source maps are left out: the player runs without them.
file(GLOB ORBILUX_PLAYER_FILES CONFIGURE_DEPENDS ${ORBILUX_PLAYER_SOURCE}/*.js ${ORBILUX_PLAYER_SOURCE}/*.wasm
     ${ORBILUX_PLAYER_SOURCE}/package.json)
file(GLOB ORBILUX_PLAYER_LICENSES CONFIGURE_DEPENDS ${ORBILUX_PLAYER_SOURCE}/LICENSE_*)
if(ORBILUX_PLAYER AND NOT ORBILUX_PLAYER_FILES)
  message(FATAL_ERROR "The SWF player for the preview is missing from ${ORBILUX_PLAYER_SOURCE}.\n"
                      "Run scripts/setup to install it, or configure with -DORBILUX_PLAYER=OFF "
                      "to build without a preview player.")
endif()

# orbilux_bundle_player(folder TARGETS target...) copies the player and its
# licences into folder whenever one of the targets is built: a folder "ruffle"
# beside the programs, where they look for it in the build tree.
function(orbilux_bundle_player folder)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "TARGETS")
  if(NOT ORBILUX_PLAYER)
    return()
  endif()
  set(outputs)
  foreach(file IN LISTS ORBILUX_PLAYER_FILES ORBILUX_PLAYER_LICENSES)
    get_filename_component(name ${file} NAME)
    add_custom_command(OUTPUT ${folder}/${name}
                       COMMAND ${CMAKE_COMMAND} -E copy_if_different ${file} ${folder}/${name}
                       DEPENDS ${file} VERBATIM)
    list(APPEND outputs ${folder}/${name})
  endforeach()
  list(GET arg_TARGETS 0 first)
  add_custom_target(${first}_player ALL DEPENDS ${outputs})
  foreach(target IN LISTS arg_TARGETS)
    add_dependencies(${target} ${first}_player)
  endforeach()
endfunction()
