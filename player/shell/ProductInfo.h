// The product's addresses: where feedback and bug reports are mailed, and its web site.
#pragma once

namespace vireon {

inline constexpr char kSupportMailAddress[] = "support@vireon.example";
inline constexpr char kProductWebSite[] = "http://www.vireon.example/";

} // namespace vireon
