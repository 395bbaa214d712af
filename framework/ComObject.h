#pragma once
// Reference counting and QueryInterface for the program's own COM objects.
//
//   class CSink : public CComObjectBase<CSink, IFoo, IBar> { public: CSink(int); ... };
//   Microsoft::WRL::ComPtr<CSink> sink = CSink::Create(42);   // empty when out of memory
//
// QueryInterface answers IUnknown (through the first interface: one identity) and each listed
// interface, nothing else. List base interfaces too (IOleWindow beside IOleInPlaceSite): the object
// derives only from listed types no other listed one derives from, so a base is not a second copy.
// A listed class with an IID of its own (an implementation several objects share) answers too.
#include <windows.h>
#include <unknwn.h>
#include <wrl/client.h>

#include <new>
#include <tuple>
#include <type_traits>
#include <utility>

namespace ComObjectDetail {

template <class Base, class Derived>
inline constexpr bool kStrictBase = std::is_base_of_v<Base, Derived> && !std::is_same_v<Base, Derived>;

// Listed types no other listed type derives from are direct bases; each other one an empty placeholder.
template <class T, class... All>
inline constexpr bool kLeaf = !(kStrictBase<T, All> || ...);
template <class T>
struct NotABase {};
template <class... All>
struct Inherit : public std::conditional_t<kLeaf<All, All...>, All, NotABase<All>>... {};

// J derives from I with no listed type in between.
template <class I, class J, class... All>
inline constexpr bool kNearest = kStrictBase<I, J> && !((kStrictBase<I, All> && kStrictBase<All, J>) || ...);

// The first listed type that derives from I with nothing listed between; void for a direct base.
template <class I, class... All>
constexpr size_t NearestIndex()
{
    const bool nearest[] = {kNearest<I, All, All...>...};
    size_t index = 0;
    while (index < sizeof...(All) && !nearest[index])
        ++index;
    return index;
}
template <class I, class... All>
using Nearest = std::tuple_element_t<NearestIndex<I, All...>(), std::tuple<All..., void>>;

}  // namespace ComObjectDetail

// Sets an out-parameter and returns result; E_POINTER when there is none to set.
template <class T, class Value>
HRESULT SetOut(T* out, Value value, HRESULT result)
{
    if (!out)
        return E_POINTER;
    *out = value;
    return result;
}

template <class Derived, class FirstInterface, class... MoreInterfaces>
class CComObjectBase : public ComObjectDetail::Inherit<FirstInterface, MoreInterfaces...> {
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
            *out = static_cast<IUnknown*>(Cast<FirstInterface>());
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
        (void)((iid == __uuidof(Interfaces) ? (*out = Cast<Interfaces>(), true) : false) || ...);
    }

    // Down through the listed types between, so a shared base (IOleWindow) stays unambiguous.
    template <class I>
    I* Cast()
    {
        using Via = ComObjectDetail::Nearest<I, FirstInterface, MoreInterfaces...>;
        if constexpr (std::is_void_v<Via>)
            return static_cast<I*>(this);
        else
            return static_cast<I*>(Cast<Via>());
    }

    LONG m_refs = 1;
};
