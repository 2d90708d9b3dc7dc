#pragma once
// What Qt's accessibility bridge would otherwise tell assistive technology
// wrongly, corrected once per process (the program's windows and the window
// tests install it through the main window):
//  - Over AT-SPI every position and size is in the screen's device pixels, as
//    the windows are drawn; Qt reports its scaled, device-independent ones
//    (half the drawn positions at 2x), and a magnifier following the focus or
//    the caret looks at the wrong place (AtSpiDevicePixels.h).
//  - A caret moves only in the text field that has the keyboard focus: a field
//    the program writes while another one is being typed into (the computed
//    new height) reports no caret move, so a magnifier stays with the typing.
void InstallAccessibilityCorrections();
