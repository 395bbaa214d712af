#pragma once
// Reference counting and QueryInterface for the program's own COM objects.
//
//   class CSink : public CComObjectBase<CSink, IFoo, IBar> { public: CSink(int); ... };
//   Microsoft::WRL::ComPtr<CSink> sink = CSink::Create(42);   // empty when out of memory
//
// QueryInterface answers IUnknown (always through the first interface, so the
// object has one identity) and each listed interface, nothing else. List every
// interface the object must answer, base interfaces included.

#include <windows.h>
#include <unknwn.h>
#include <wrl/client.h>

#include <new>
#include <utility>

template <class Derived, class FirstInterface, class... MoreInterfaces>
class CComObjectBase : public FirstInterface, public MoreInterfaces... {
public:
    CComObjectBase(const CComObjectBase&) = delete;
    CComObjectBase& operator=(const CComObjectBase&) = delete;

    // The new object starts with one reference, which the returned pointer owns.
    template <class... Args>
    static Microsoft::WRL::ComPtr<Derived> Create(Args&&... args)
    {
        Microsoft::WRL::ComPtr<Derived> object;
        // Not Attach: mingw-w64's Attach adds a reference of its own.
        *object.GetAddressOf() = new (std::nothrow) Derived(std::forward<Args>(args)...);
        return object;
    }

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (iid == __uuidof(IUnknown))
            *out = static_cast<IUnknown*>(static_cast<FirstInterface*>(this));
        else
            FindInterface<FirstInterface, MoreInterfaces...>(iid, out);
        if (!*out)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }

    STDMETHODIMP_(ULONG) AddRef() override
    {
        return static_cast<ULONG>(InterlockedIncrement(&m_refs));
    }

    STDMETHODIMP_(ULONG) Release() override
    {
        const LONG left = InterlockedDecrement(&m_refs);
        if (left == 0)
            delete static_cast<Derived*>(this);
        return static_cast<ULONG>(left);
    }

protected:
    CComObjectBase() = default;
    virtual ~CComObjectBase() = default;

private:
    template <class... Interfaces>
    void FindInterface(REFIID iid, void** out)
    {
        (void)((iid == __uuidof(Interfaces) ? (*out = static_cast<Interfaces*>(this), true) : false) || ...);
    }

    LONG m_refs = 1;
};
