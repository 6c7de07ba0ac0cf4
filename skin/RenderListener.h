// How a translucent child tells its layered dialog that the picture must be composed again.
#pragma once

class CTranslucentWnd;

class IRenderListener {
public:
    virtual ~IRenderListener() {}
    // The image pChild shows has changed.
    virtual void OnChildLookChanged(CTranslucentWnd* pChild) = 0;
};
