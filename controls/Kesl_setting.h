// The store-and-notify rule of a control's settings. Each setter names the
// rule of its property where it stores; it clamps or checks the value itself
// and then writes
//     if (TStoreAlways::Store(m_field, v)) Changed();
// or TStoreOnChange for a property that notifies only when its value changes.
#pragma once

#include <utility>

enum class TNotifyRule {
    EveryWrite, // the owner hears of every write, an equal value included
    RealChange, // only a value that differs from the stored one is news
};

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
};

// The two rules by name.
using TStoreAlways = TSettingStore<TNotifyRule::EveryWrite>;
using TStoreOnChange = TSettingStore<TNotifyRule::RealChange>;
