#include "RequestLog.h"

#include "SimState.h"
#include "common/EnvironmentVariable.h"
#include "common/UniqueHandle.h"

namespace sim {

// The file is opened for each line, not held: a developer can read, move or
// delete it while the client runs, and several client processes can share it.
void AppendToRequestLog(const std::string& line) {
    std::wstring path = EnvironmentVariable(L"WZK_FIRMWARE_SIM_LOG");
    if (path.empty()) {
        return;
    }
    UniqueFile file(::CreateFileW(path.c_str(), FILE_APPEND_DATA,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    // One write per line: appends of whole lines from several processes do
    // not interleave.
    std::string text = line + "\r\n";
    DWORD written = 0;
    if (file) {
        ::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }
}

} // namespace sim
