#pragma once
// The maker's addresses, shown in the About box and opened by "Update" and the reminder.
namespace maker {
inline constexpr const char* kName = "Morvane";
inline constexpr const char* kWebSite = "https://www.morvane.example/";
inline constexpr const char* kProductPage = "https://www.morvane.example/quillet/";
inline constexpr const char* kContactPage = "https://www.morvane.example/contact/";
} // namespace maker
