// Run-time class information: a class's name and its base, so code can ask IsKindOf at run time.
#pragma once

#include "framework/Prelude.h"

struct CRuntimeClass {
    LPCSTR m_lpszClassName;
    const CRuntimeClass* m_pBaseClass; // NULL for CObject

    // TRUE when this class is pBaseClass or derives from it.
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
};

class CObject {
public:
    virtual ~CObject() = default;
    virtual const CRuntimeClass* GetRuntimeClass() const;
    // TRUE when the object's class is pClass or derives from it.
    BOOL IsKindOf(const CRuntimeClass* pClass) const;

    static const CRuntimeClass classCObject;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)                                                                          \
public:                                                                                                      \
    static const CRuntimeClass class##class_name;                                                            \
    const CRuntimeClass* GetRuntimeClass() const override;

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                                       \
    const CRuntimeClass class_name::class##class_name = {#class_name, RUNTIME_CLASS(base_class_name)};       \
    const CRuntimeClass* class_name::GetRuntimeClass() const {                                               \
        return &class_name::class##class_name;                                                               \
    }
