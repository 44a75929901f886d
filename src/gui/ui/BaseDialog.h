#pragma once

#include "core/base/ColorRef.h"
#include "gui/ui/Dialog.h"

#include <cstdint>

// A dialog that runs modal or modeless. A modeless one destroys its window
// on OK, Cancel and close and then deletes itself (once control is back in
// the event loop), so that an owner can create it with new, show it and
// forget it.
class CBaseDialog : public CDialog {
    Q_OBJECT

public:
    explicit CBaseDialog(int templateId, QWidget* parent = nullptr);

    // Called by the owner before it creates the window modelessly.
    void SetModeless(bool modeless) { m_bModeless = modeless ? 1 : 0; }
    bool IsModeless() const { return m_bModeless != 0; }
    COLORREF BackgroundColor() const { return m_crBackground; }

    void OnOK() override;
    void OnCancel() override;
    void OnClose() override;

protected:
    void PostNcDestroy() override;
    // A status box whose owner updates it until the work ends: OK, Cancel
    // (Escape) and the close box leave it open when modeless, so that it
    // cannot vanish under its owner.
    void SetEndedByOwnerOnly() { m_bEndedByOwnerOnly = true; }

private:
    // A modeless window is destroyed (unless its owner ends it): true when
    // the dialog is modeless and the step is done.
    bool CloseModeless();

    COLORREF m_crBackground;
    std::uint8_t m_bModeless = 0;
    bool m_bEndedByOwnerOnly = false;
};

// Every dialog's translucency: below "Translucency" 255 the window takes
// that alpha and is shown.
void ApplyTranslucency(QWidget& window);
