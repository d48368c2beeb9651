#include "app/font_colour.h"

#include "app/app_state.h"
#include "app/layout.h"
#include "app/main_window.h"
#include "app/on_demand.h"

namespace vantorel {
namespace {

// Owned by this file and written only by the dialogs here. Both live for the
// run, so choices carry from one dialog to the next; neither is saved.
LOGFONTA gFontDialogRecord;
COLORREF gCustomColours[16];

// Runs the colour dialog on `colour`; it keeps its value when cancelled. No
// owner window (deliberate): the main window stays usable meanwhile.
void chooseColour(std::uint32_t& colour) {
    CHOOSECOLORA record = {};
    record.lStructSize = sizeof record;
    record.rgbResult = colour;
    record.lpCustColors = gCustomColours;
    record.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (on_demand::ChooseColorA(&record)) colour = record.rgbResult;
}

}  // namespace

void chooseDisplayFont() {
    Preferences& p = prefsToChange();
    setText(gFontDialogRecord.lfFaceName, p.fontFace);
    CHOOSEFONTA record = {};
    record.lStructSize = sizeof record;
    record.lpLogFont = &gFontDialogRecord;
    record.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_NOVECTORFONTS | CF_SCALABLEONLY |
                   CF_NOSTYLESEL | CF_NOSIZESEL;
    // Only a confirmed dialog changes the record the next one starts from.
    const LOGFONTA confirmed = gFontDialogRecord;
    if (on_demand::ChooseFontA(&record)) {
        setText(p.fontFace, gFontDialogRecord.lfFaceName);
        p.fontHeight = displayFontHeight(gFontDialogRecord.lfHeight);
        p.fontWeight = gFontDialogRecord.lfWeight;
        p.fontItalic = gFontDialogRecord.lfItalic;
    } else {
        gFontDialogRecord = confirmed;
    }
    mainWindow().rebuildFont();
    prefsStore().saveAndReload();
}

void chooseTextColour() {
    chooseColour(prefsToChange().textColor);
    prefsStore().saveAndReload();
    // Deliberate: no repaint; the digits take the colour at the next one.
}

void chooseBackgroundColour(HWND window) {
    chooseColour(prefsToChange().backgroundColor);
    prefsStore().saveAndReload();
    mainWindow().applyBackground(prefs().backgroundColor);
    InvalidateRect(window, nullptr, TRUE);
}

}  // namespace vantorel
