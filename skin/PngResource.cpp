#include "skin/PngResource.h"

#include "framework/WinApp.h"
#include "skin/GdiplusServices.h"

#include <cstring>

namespace {

// An empty stream for a resource that is not there, so the caller still gets an image that failed to decode.
IStream* NewEmptyStream() {
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)))
        return nullptr;
    return stream;
}

// A stream that owns a private copy of the resource's bytes and frees it on its last release.
IStream* NewStreamOverCopy(const void* bytes, DWORD size) {
    HGLOBAL block = GlobalAlloc(GMEM_FIXED, size);
    if (block == nullptr)
        return nullptr;
    void* copy = GlobalLock(block);
    if (copy == nullptr) {
        GlobalFree(block);
        return nullptr;
    }
    std::memcpy(copy, bytes, size);
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream))) {
        GlobalUnlock(block);
        GlobalFree(block);
        return nullptr;
    }
    // A fixed block needs no lock to stay put; the stream reads it through its own handle.
    GlobalUnlock(block);
    return stream;
}

} // namespace

Gdiplus::Image* ImageFromPngResource(UINT nID) {
    HMODULE module = AfxGetResourceHandle();
    // Only the string type "PNG" is searched: a bitmap or icon with the same ID is not this picture.
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(LOWORD(nID)), L"PNG");
    const void* bytes = nullptr;
    DWORD size = 0;
    if (resource != nullptr) {
        HGLOBAL loaded = LoadResource(module, resource);
        bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
        size = bytes != nullptr ? SizeofResource(module, resource) : 0;
    }
    IStream* stream = size != 0 ? NewStreamOverCopy(bytes, size) : NewEmptyStream();
    if (stream == nullptr)
        return nullptr;
    // The image keeps its own reference to the stream for as long as it lives.
    Gdiplus::Image* image = skin::GdiplusNew<Gdiplus::Image>(stream, FALSE);
    stream->Release();
    return image;
}
