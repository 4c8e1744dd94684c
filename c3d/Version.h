#pragma once
// The program's version text (About box, DST export header, --version).
constexpr const char* kQuorvelVersion = "2.660";
