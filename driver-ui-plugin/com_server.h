#pragma once
// The in-process COM server: the module's process-wide counts, the reference counting that the class
// factory and the plug-in object share, the one class-factory template, and the exports.

#include <atomic>
#include <cstdint>
#include <new>

#include "driver_kit.h"

namespace tavrel {

// The module handle, stored at process attach.
extern driverkit::HMODULE g_hModule;
// Live class factories and plug-in objects.
extern std::atomic<std::int32_t> g_cComponents;
extern std::atomic<std::int32_t> g_cServerLocks;

// AddRef and Release for a COM object of class Derived that implements Interface. The host may call from
// several threads, hence the interlocked counts; the object counts itself among g_cComponents while alive.
template <class Derived, class Interface>
class ComObject : public Interface {
public:
    driverkit::ULONG AddRef() override { return static_cast<driverkit::ULONG>(++m_cRef); }
    driverkit::ULONG Release() override {
        const std::int32_t count = --m_cRef;
        if (count == 0) {
            delete static_cast<Derived*>(this);
        }
        return static_cast<driverkit::ULONG>(count);
    }

protected:
    ComObject() { ++g_cComponents; }
    ~ComObject() { --g_cComponents; }

    // Hands out this object as Interface, with one more reference.
    driverkit::HRESULT Hand(void** ppv) {
        *ppv = static_cast<Interface*>(this);
        AddRef();
        return driverkit::S_OK;
    }

private:
    std::atomic<std::int32_t> m_cRef{1};
};

// A new object of class T asked for riid: it starts with one reference, the request adds one on success, and
// the creator's own is released, so that a refused request destroys it again.
template <class T>
driverkit::HRESULT CreateAndQuery(const driverkit::IID& riid, void** ppv) {
    T* object = new (std::nothrow) T();
    if (!object) {
        return driverkit::E_OUTOFMEMORY;
    }
    const driverkit::HRESULT hr = object->QueryInterface(riid, ppv);
    object->Release();
    return hr;
}

// The class factory of objects of class T.
template <class T>
class ClassFactory final : public ComObject<ClassFactory<T>, driverkit::IClassFactory> {
public:
    driverkit::HRESULT QueryInterface(const driverkit::IID& riid, void** ppv) override {
        if (!ppv) {
            return driverkit::E_POINTER;
        }
        if (riid == driverkit::IID_IUnknown || riid == driverkit::IID_IClassFactory) {
            return this->Hand(ppv);
        }
        *ppv = nullptr;
        return driverkit::E_NOINTERFACE;
    }

    driverkit::HRESULT CreateInstance(driverkit::IUnknown* pUnkOuter, const driverkit::IID& riid, void** ppv) override {
        if (!ppv) {
            return driverkit::E_POINTER;
        }
        *ppv = nullptr;
        if (pUnkOuter) {
            return driverkit::CLASS_E_NOAGGREGATION;
        }
        return CreateAndQuery<T>(riid, ppv);
    }

    driverkit::HRESULT LockServer(driverkit::BOOL fLock) override {
        if (fLock) {
            ++g_cServerLocks;
        } else {
            --g_cServerLocks;
        }
        return driverkit::S_OK;
    }
};

}  // namespace tavrel

// The exports (Tavrel.def) and the module entry point, with the names the system looks for.
extern "C" {
driverkit::HRESULT DllGetClassObject(const driverkit::CLSID& rclsid, const driverkit::IID& riid, void** ppv);
driverkit::HRESULT DllCanUnloadNow();
driverkit::BOOL DllMain(driverkit::HMODULE hModule, driverkit::DWORD dwReason, void* lpReserved);
}
