// How the simulator writes what it receives and answers, for its logs:
// numbers, byte lists and VARIANTs as text.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <vector>

namespace sim {

// ASCII as it is, any other character as '?'.
std::string Narrow(const wchar_t* text);
// "0x8004100C" (eight digits, for HRESULTs) and "0x30" (for flags).
std::string HexOf(unsigned long value);
std::string ShortHex(unsigned long value);
// "VT_I4 7", "VT_ARRAY|VT_UI1 [53 45 43 55]", "VT_UNKNOWN wzkBDataIn()", ...
std::string Describe(const VARIANT& value);
// The elements of a one-dimensional array of 1-byte (VT_UI1) or 4-byte (VT_I4)
// numbers; false when the array is not what its type says (elements of
// another size, other dimensions), so that no element is ever copied into a
// variable of another size.
bool ArrayNumbers(SAFEARRAY* array, VARTYPE elementType, std::vector<LONG>& numbers);
// "[01 02 FF]".
std::string ByteList(const std::vector<BYTE>& bytes);

} // namespace sim
