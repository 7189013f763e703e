// Captions set at run time use "&" as an access-key mark, as menu captions do: "&x" shows x
// underlined, "&&" shows one "&".
#pragma once

#include <string>

namespace orvane {

// The caption as rich text (HTML-escaped, the access key in <u>...</u>), for labels.
std::string accessKeyHtml(const std::string& caption);

}  // namespace orvane
