#pragma once
// Text put into the pages this tool writes.

#include <string>

// text with '&', '<', '>' and '"' as character references, so that no name
// can break the markup around it, in an element or an attribute.
namespace orbilux {

std::string HtmlEscaped(const std::string& text);

}  // namespace orbilux
