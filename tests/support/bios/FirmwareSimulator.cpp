#include "FirmwareSimulator.h"

#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}

} // namespace

std::wstring FirmwareSimRegistration::SimulatorPath() {
    return DeliverablePath(L"wzkFirmwareSim.dll");
}

FirmwareSimRegistration::FirmwareSimRegistration() {
    EXPECT_EQ(S_OK, RegisterFirmwareSim()) << "the simulator's DllRegisterServer";
}

FirmwareSimRegistration::~FirmwareSimRegistration() {
    EXPECT_EQ(S_OK, UnregisterFirmwareSim()) << "the simulator's DllUnregisterServer";
}

std::vector<std::string> SimLog() {
    std::string text(FirmwareSim_ReadLog(nullptr, 0) + 1, '\0');
    text.resize(FirmwareSim_ReadLog(&text[0], text.size()));
    return Lines(text);
}

std::string SimLiveObjects() {
    std::string text(FirmwareSim_DescribeLiveObjects(nullptr, 0) + 1, '\0');
    text.resize(FirmwareSim_DescribeLiveObjects(&text[0], text.size()));
    return text;
}
