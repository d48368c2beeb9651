#include "app/font_colour.h"

#include <commdlg.h>

#include "app/app_state.h"
#include "app/main_window.h"

namespace vantorel {
namespace {

// Both live for the run: choices carry from one dialog to the next.
LOGFONTA gFontDialogRecord;
COLORREF gCustomColours[16];

// The display's characters are made this much taller than the size chosen.
constexpr LONG kFontHeightOffset = 200;

// Runs the colour dialog on `colour`; it keeps its value when cancelled.
void chooseColour(std::uint32_t& colour) {
    CHOOSECOLORA record = {};
    record.lStructSize = sizeof record;
    record.rgbResult = colour;
    record.lpCustColors = gCustomColours;
    record.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (ChooseColorA(&record)) colour = record.rgbResult;
}

}  // namespace

void chooseDisplayFont() {
    Preferences& p = prefs();
    setText(gFontDialogRecord.lfFaceName, p.fontFace);
    CHOOSEFONTA record = {};
    record.lStructSize = sizeof record;
    record.lpLogFont = &gFontDialogRecord;
    record.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_NOVECTORFONTS | CF_SCALABLEONLY |
                   CF_NOSTYLESEL | CF_NOSIZESEL;
    // Only a confirmed dialog changes the record the next one starts from.
    const LOGFONTA confirmed = gFontDialogRecord;
    if (ChooseFontA(&record)) {
        setText(p.fontFace, gFontDialogRecord.lfFaceName);
        p.fontHeight = gFontDialogRecord.lfHeight - kFontHeightOffset;
        p.fontWeight = gFontDialogRecord.lfWeight;
        p.fontItalic = gFontDialogRecord.lfItalic;
    } else {
        gFontDialogRecord = confirmed;
    }
    mainWindow().rebuildFont();
    prefsStore().saveAndReload();
}

void chooseTextColour() {
    chooseColour(prefs().textColor);
    prefsStore().saveAndReload();
}

void chooseBackgroundColour(HWND window) {
    chooseColour(prefs().backgroundColor);
    prefsStore().saveAndReload();
    mainWindow().applyBackground(prefs().backgroundColor);
    InvalidateRect(window, nullptr, TRUE);
}

}  // namespace vantorel
