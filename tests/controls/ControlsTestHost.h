// Shared pieces of the entry button suite: a host window made from the menu's
// real dialog template (so the buttons get the real dialog font as their
// parent's font), a button that lets the tests see its state, and a 32-bit
// drawing surface whose pixels can be read back.
#pragma once

#include "framework/CWnd.h"
#include "media_menu/controls/EntryButton.h"

#include <gtest/gtest.h>

#include "tests/support/Colours.h"
#include "tests/support/GeometryPrinters.h"
#include "tests/support/MessagePump.h"
#include "tests/support/Picture.h"

#include <windows.h>

#include <cstdint>
#include <vector>

// The colours and depth the menu gives its buttons.
const Colour kLightBlue = RGB(0x3D, 0xB5, 0xFF);
const Colour kBlack = RGB(0, 0, 0);
const Colour kMidBlue = RGB(0x30, 0x72, 0xCA);
const Colour kOutlineGrey = RGB(0x5A, 0x5A, 0x5A);
const Colour kWhite = RGB(0xFF, 0xFF, 0xFF);
// What the host paints behind its buttons.
const Colour kHostBackground = RGB(0x00, 0xFF, 0x00);

// One message that reached the host window.
struct HostMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool sent; // sent (SendMessage) rather than posted
};

// A modeless window from dialog template 102, 420 x 320 pixels at (0, 0),
// painted in kHostBackground. It records every WM_COMMAND, WM_NEXTDLGCTL
// and WM_CLOSE it gets and otherwise ignores them.
class HostWindow : public CWnd {
public:
    HostWindow();
    ~HostWindow() override;

    std::vector<HostMessage> received;

    // Removes the messages posted to this window and its children, none of
    // them dispatched, and returns those addressed to this window.
    std::vector<MSG> TakePosted();

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// An EntryButton whose state the tests read and set, which counts its paints
// and records the messages that reach the system's button procedure.
class ProbeButton : public EntryButton {
public:
    ~ProbeButton() override;

    using EntryButton::m_bCaptured;
    using EntryButton::m_bHover;
    using EntryButton::m_bNeedsRender;
    using EntryButton::m_bPressed;
    using EntryButton::m_hShape;
    using EntryButton::m_nCenterX;
    using EntryButton::m_nCenterY;
    using EntryButton::m_pImageDisabled;
    using EntryButton::m_pImageHover;
    using EntryButton::m_pImageNormal;
    using EntryButton::m_pImagePressed;

    int paints = 0;
    std::vector<UINT> buttonProcedureMessages;

    void DrawItem(LPDRAWITEMSTRUCT item) override;

    // From now on, records every message that reaches the system's button
    // procedure behind this button.
    void RecordButtonProcedure();

private:
    static LRESULT CALLBACK RecordingProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    WNDPROC m_buttonProc = nullptr;
};

// A top-down 32 bits-per-pixel DIB selected into its own memory DC.
class DibSurface {
public:
    DibSurface(int width, int height);
    ~DibSurface();
    DibSurface(const DibSurface&) = delete;
    DibSurface& operator=(const DibSurface&) = delete;

    HDC Dc() const { return m_dc; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    void Fill(Colour colour);
    Colour Pixel(int x, int y) const;

private:
    int m_width;
    int m_height;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_previous = nullptr;
    uint32_t* m_bits = nullptr;
};

// Lets the button paint into surface as for WM_DRAWITEM with itemState.
void DrawInto(ProbeButton& button, const DibSurface& surface, UINT itemState);

// Creates a menu-style button (depth 2, the menu's colours, disabled colour
// given) as a child of parent with a shape from CreateRoundRectRgn(0, 0,
// width, height, ellipse, ellipse) at (x, y).
bool CreateRoundButton(ProbeButton& button, HostWindow& parent, LPCWSTR caption, int x, int y,
                       int width, int height, int ellipse, UINT id = 232,
                       COLORREF disabled = RGB(0x00, 0x00, 0x80), int depth = 2);
