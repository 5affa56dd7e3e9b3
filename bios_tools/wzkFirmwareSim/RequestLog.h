// The log a client developer reads: one line per request that reached the
// firmware, per failing step of the WMI exchange and per scenario fault,
// appended to the file that WZK_FIRMWARE_SIM_LOG names (nothing when it is
// not set).
#pragma once

#include <string>

namespace sim {

void AppendToRequestLog(const std::string& line);

} // namespace sim
