// Ordering of Portuguese names: "Ágata" sorts with "Agata" and before "Bruno", whatever the
// letter case. The server registers it on its connection as the SQLite collation PTBR; the
// client tier orders the rows of a partial packet with it, so both order names alike.
#pragma once

#include <string>
#include <string_view>

namespace packet {

// The text with letters lowered and the accents of Latin letters removed (UTF-8 in and out);
// characters it does not know are kept as they are.
std::string foldForSorting(std::string_view text);

// Negative, zero or positive, comparing the folded texts first and the original bytes to break
// ties, so that two different texts never compare equal.
int compareForSorting(std::string_view a, std::string_view b);

}  // namespace packet
