// The ordinary dialog that carries real controls over a layered dialog's picture. Its own background is one
// key colour that the window manager makes see-through, so only its controls show.
#pragma once

#include "framework/Dialog.h"
#include "framework/Gdi.h"
#include "framework/Types.h"

class CStandardDialog : public CDialog {
    DECLARE_DYNAMIC(CStandardDialog)
public:
    // Makes no window: the owning layered dialog creates it modeless from this template and owner.
    CStandardDialog(UINT nIDTemplate, CWnd* pParent);
    ~CStandardDialog() override;

    // Records where this dialog sits relative to the layered dialog's top-left corner. Moves nothing: the
    // layered dialog applies it at its next move or resize.
    virtual void SetOverlayOffset(const POINT& offset);

protected:
    BOOL OnInitDialog() override;
    // Tells the owner to close, then ends as usual.
    void OnOK() override;
    void OnCancel() override;

    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    DECLARE_MESSAGE_MAP()

    COLORREF m_keyColour;
    CBrush m_keyBrush;
    // Read directly by the layered dialog whenever it moves this dialog along.
    CPoint m_overlayOffset;

    friend class CTranslucentDialog;

private:
    void CloseOwner();
};
