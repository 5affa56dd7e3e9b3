#include "SimText.h"

#include "SimClassObject.h"

#include <cstdio>

namespace sim {
namespace {

std::string DescribeArray(SAFEARRAY* array, VARTYPE elementType) {
    if (array == nullptr) {
        return "(no array)";
    }
    std::vector<LONG> numbers;
    if (!ArrayNumbers(array, elementType, numbers)) {
        return elementType == VT_UI1 ? "(not a vector of 1-byte numbers)"
                                     : "(not a vector of 4-byte numbers)";
    }
    LONG lower = 0;
    ::SafeArrayGetLBound(array, 1, &lower);
    std::string text = lower == 0 ? "[" : "lbound=" + std::to_string(lower) + " [";
    for (size_t i = 0; i < numbers.size(); ++i) {
        char number[16];
        std::snprintf(number, sizeof number, elementType == VT_UI1 ? "%02lX" : "%ld",
                      elementType == VT_UI1 ? numbers[i] & 0xFF : numbers[i]);
        text += (i == 0 ? "" : " ") + std::string(number);
    }
    return text + "]";
}

} // namespace

std::string Narrow(const wchar_t* text) {
    std::string narrow;
    for (; text != nullptr && *text != L'\0'; ++text) {
        narrow += *text < 0x80 ? static_cast<char>(*text) : '?';
    }
    return narrow;
}

std::string HexOf(unsigned long value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", value);
    return text;
}

std::string ShortHex(unsigned long value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%lX", value);
    return text;
}

std::string Describe(const VARIANT& value) {
    VARTYPE type = V_VT(&value);
    switch (type) {
    case VT_EMPTY:
        return "VT_EMPTY";
    case VT_NULL:
        return "VT_NULL";
    case VT_I4:
        return "VT_I4 " + std::to_string(V_I4(&value));
    case VT_BSTR:
        return "VT_BSTR " + Narrow(V_BSTR(&value));
    case VT_UNKNOWN:
    case VT_DISPATCH: {
        std::string object = "(null)";
        IUnknown* unknown = V_UNKNOWN(&value);
        if (unknown != nullptr) {
            SimClassObject* own = SimClassObject::From(unknown);
            object = own != nullptr ? own->Name() : "(foreign object)";
        }
        return (type == VT_UNKNOWN ? "VT_UNKNOWN " : "VT_DISPATCH ") + object;
    }
    case VT_ARRAY | VT_UI1:
        return "VT_ARRAY|VT_UI1 " + DescribeArray(V_ARRAY(&value), VT_UI1);
    case VT_ARRAY | VT_I4:
        return "VT_ARRAY|VT_I4 " + DescribeArray(V_ARRAY(&value), VT_I4);
    default:
        return "vt=" + HexOf(type);
    }
}

bool ArrayNumbers(SAFEARRAY* array, VARTYPE elementType, std::vector<LONG>& numbers) {
    numbers.clear();
    const UINT size = elementType == VT_UI1 ? 1 : 4;
    LONG lower = 0;
    LONG upper = -1;
    if (array == nullptr || ::SafeArrayGetDim(array) != 1 ||
        ::SafeArrayGetElemsize(array) != size ||
        FAILED(::SafeArrayGetLBound(array, 1, &lower)) ||
        FAILED(::SafeArrayGetUBound(array, 1, &upper))) {
        return false;
    }
    for (LONG i = lower; i <= upper && i >= lower; ++i) {
        LONG number = 0;
        BYTE byte = 0;
        if (FAILED(::SafeArrayGetElement(array, &i, size == 1 ? static_cast<void*>(&byte)
                                                             : static_cast<void*>(&number)))) {
            return false;
        }
        numbers.push_back(size == 1 ? byte : number);
    }
    return true;
}

std::string ByteList(const std::vector<BYTE>& bytes) {
    std::string text = "[";
    for (size_t i = 0; i < bytes.size(); ++i) {
        char number[4];
        std::snprintf(number, sizeof number, "%02X", bytes[i]);
        text += (i == 0 ? "" : " ") + std::string(number);
    }
    return text + "]";
}

} // namespace sim
