#include "framework/Exceptions.h"

void AfxThrowMemoryException() {
    throw CMemoryException();
}

void AfxThrowResourceException() {
    throw CResourceException();
}
