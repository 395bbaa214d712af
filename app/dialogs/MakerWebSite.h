#pragma once
// The maker's web site, where the program's "Free Register" and About links lead.
inline constexpr wchar_t kMakerWebSite[] = L"http://www.telvane.example/";
