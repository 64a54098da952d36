// The store-and-notify rule of a control's settings. Each setter names the
// rule of its property where it stores; it clamps or checks the value itself
// and then writes
//     if (TStoreAlways::Store(m_field, v)) Changed();
// or TStoreOnChange for a property that notifies only when its value changes.
// An enumeration setter writes StoreEnum instead, naming its last value.
#pragma once

#include <utility>

enum class TNotifyRule {
    EveryWrite, // the owner hears of every write, an equal value included
    RealChange, // only a value that differs from the stored one is news
};

// Whether v is one of the declared values 0..last of its enumeration.
template<class E> constexpr bool InEnumRange(E v, E last)
{
    const auto n = static_cast<long long>(v);
    return n >= 0 && n <= static_cast<long long>(last);
}

template<TNotifyRule Rule> struct TSettingStore
{
    // Stores v in field; true when the control should notify.
    template<class T, class V> static bool Store(T &field, V &&v)
    {
        if constexpr (Rule == TNotifyRule::RealChange) {
            // Compared as the field's type: a NaN never equals, so it always counts.
            if (field == v)
                return false;
        }
        field = std::forward<V>(v);
        return true;
    }

    // An enumeration value beyond `last` (a cast integer, a stale stored
    // form) is dropped: nothing stored, no notification, so drawing code never
    // meets a value it does not know.
    template<class E> static bool StoreEnum(E &field, E v, E last) { return InEnumRange(v, last) && Store(field, v); }
};

// The two rules by name.
using TStoreAlways = TSettingStore<TNotifyRule::EveryWrite>;
using TStoreOnChange = TSettingStore<TNotifyRule::RealChange>;
