#pragma once
// The window style bits the controls ask for, with the platform's values
// (win32/Window.cpp checks them), named once here.

// Every window; the frame of a dialog.
constexpr unsigned wsPopup = 0x80000000, wsCaption = 0xC00000, wsSysMenu = 0x80000, wsClipChildren = 0x2000000,
                   wsVScroll = 0x200000, wsTabStop = 0x10000, dsModalFrame = 0x80;
constexpr unsigned wsExDlgModalFrame = 0x1, wsExClientEdge = 0x200, wsExControlParent = 0x10000;
// Push buttons.
constexpr unsigned bsPushButton = 0x0, bsDefPushButton = 0x1;
// Edits.
constexpr unsigned esMultiline = 0x4, esAutoVScroll = 0x40, esAutoHScroll = 0x80, esReadOnly = 0x800,
                   esWantReturn = 0x1000;
// Static texts (ssRight is a shift state's).
constexpr unsigned ssTextCenter = 0x1, ssTextRight = 0x2, ssLeftNoWordWrap = 0xC, ssNotify = 0x100,
                   ssCenterImage = 0x200;
