// The root of the framework's non-window classes: run-time class information and a
// serialisation hook that does nothing unless a class needs it.
#pragma once

struct CRuntimeClass {
    const char* m_lpszClassName;
};

class CArchive;

class CObject {
public:
    virtual const CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject() = default;
    virtual void Serialize(CArchive&) {}
};

inline const CRuntimeClass* CObject::GetRuntimeClass() const {
    static const CRuntimeClass info = {"CObject"};
    return &info;
}
