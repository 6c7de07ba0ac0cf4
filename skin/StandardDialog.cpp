#include "skin/StandardDialog.h"

#include "skin/LayeredWindowApi.h"

IMPLEMENT_DYNAMIC(CStandardDialog, CDialog)

BEGIN_MESSAGE_MAP(CStandardDialog, CDialog)
ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CStandardDialog::CStandardDialog(UINT nIDTemplate, CWnd* pParent)
    : CDialog(nIDTemplate, pParent), m_keyColour(RGB(0, 255, 0)), m_overlayOffset(0, 0) {}

CStandardDialog::~CStandardDialog() = default;

void CStandardDialog::SetOverlayOffset(const POINT& offset) {
    m_overlayOffset.x = offset.x;
    m_overlayOffset.y = offset.y;
}

BOOL CStandardDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    m_keyBrush.Attach(::CreateSolidBrush(m_keyColour));
    ::SetWindowLongW(m_hWnd, GWL_EXSTYLE, ::GetWindowLongW(m_hWnd, GWL_EXSTYLE) | WS_EX_LAYERED);
    // Without the function the dialog simply stays an opaque window with a key-coloured background.
    skin::CallSetLayeredWindowAttributes(m_hWnd, m_keyColour, 0, LWA_COLORKEY);
    return TRUE;
}

HBRUSH CStandardDialog::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    // Only the dialog's own background vanishes; controls keep their usual colours.
    if (nCtlColor == CTLCOLOR_DLG)
        return static_cast<HBRUSH>(m_keyBrush.GetSafeHandle());
    return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
}

void CStandardDialog::CloseOwner() {
    if (CWnd* pOwner = GetParent())
        pOwner->SendMessage(WM_CLOSE, 0, 0);
}

void CStandardDialog::OnOK() {
    CloseOwner();
    CDialog::OnOK();
}

void CStandardDialog::OnCancel() {
    CloseOwner();
    CDialog::OnCancel();
}
