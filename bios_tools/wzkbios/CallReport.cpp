#include "CallReport.h"

#include "Console.h"
#include "TextLine.h"
#include "wzkWmiBios.h"

namespace {

const size_t kLabelWidth = 13;
const ULONG kBytesPerDumpLine = 16;
// JSON "output" is written in pieces of this many bytes (two digits each).
const ULONG kJsonPiece = 256;

void Print(const TextLine& line) {
    Console::WriteLine(Console::Stream::Out, line.Text());
}

} // namespace

void CallReport::PrintText() const {
    TextLine line;
    line.Add(L"HRESULT").PadTo(kLabelWidth).AddHex(static_cast<ULONG>(m_outcome.hr), 8);
    Print(line.AddSystemMessage(static_cast<DWORD>(m_outcome.hr), L" (", L")"));
    line.Clear();
    line.Add(L"Return code").PadTo(kLabelWidth).AddDecimal(m_outcome.returnCode).Add(L" (");
    Print(line.AddHex(static_cast<ULONG>(m_outcome.returnCode), 8).Add(L")"));
    line.Clear();
    line.Add(L"Output").PadTo(kLabelWidth);
    if (FAILED(m_outcome.hr)) {
        Print(line.Add(L"none: the call failed"));
        return;
    }
    if (m_outcome.outputSize == 0) {
        Print(line.Add(L"none (--out-size 0)"));
        return;
    }
    Print(line.AddDecimal(m_outcome.outputSize).Add(L" bytes"));
    PrintDump();
    if (m_outcome.returnCode == WZK_BIOS_ANSWER_SIZE_MISMATCH) {
        line.Clear();
        Print(line.Add(L"Note")
                  .PadTo(kLabelWidth)
                  .AddDecimal(WZK_BIOS_ANSWER_SIZE_MISMATCH)
                  .Add(L" is also what wzkWmiBios reports when the firmware's answer did not "
                       L"have --out-size bytes; the output is then all zero"));
    }
}

// "  0x0010  0a 0b 0c 0d 41 42                                 ....AB"
void CallReport::PrintDump() const {
    for (ULONG offset = 0; offset < m_outcome.outputSize; offset += kBytesPerDumpLine) {
        ULONG count = m_outcome.outputSize - offset;
        count = count < kBytesPerDumpLine ? count : kBytesPerDumpLine;
        TextLine line;
        line.Add(L"  ").AddHex(offset, 4).Add(L" ");
        for (ULONG i = 0; i < count; ++i) {
            line.Add(L' ').AddByte(m_outcome.output[offset + i]);
        }
        line.PadTo(9 + kBytesPerDumpLine * 3 + 2);
        for (ULONG i = 0; i < count; ++i) {
            BYTE byte = m_outcome.output[offset + i];
            line.Add(byte >= 0x20 && byte < 0x7F ? static_cast<wchar_t>(byte) : L'.');
        }
        Print(line);
    }
}

void CallReport::PrintJson() const {
    TextLine line;
    line.Add(L"{\"hresult\":\"")
        .AddHex(static_cast<ULONG>(m_outcome.hr), 8)
        .Add(L"\",\"message\":");
    TextLine message;
    message.AddSystemMessage(static_cast<DWORD>(m_outcome.hr), L"", L"");
    if (message.Length() == 0) {
        line.Add(L"null");
    } else {
        line.AddJsonString(message.Text());
    }
    line.Add(L",\"returnCode\":").AddDecimal(m_outcome.returnCode).Add(L",\"output\":");
    if (FAILED(m_outcome.hr)) {
        Print(line.Add(L"null}"));
        return;
    }
    line.Add(L'"');
    for (ULONG i = 0; i < m_outcome.outputSize; ++i) {
        line.AddByte(m_outcome.output[i]);
        if ((i + 1) % kJsonPiece == 0) {
            Console::Write(Console::Stream::Out, line.Text(), line.Length());
            line.Clear();
        }
    }
    Print(line.Add(L"\"}"));
}
