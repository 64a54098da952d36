#pragma once

// Loading state of a component: while a form's setup code applies the stored
// settings, setters only store values; Loaded() then ends the state once so the
// component can compute what depends on all its settings together.
class TLoadable
{
public:
    virtual ~TLoadable() = default;

    bool IsLoading() const { return m_loading; }
    void BeginLoading() { m_loading = true; }
    virtual void Loaded() { m_loading = false; }

private:
    bool m_loading = false;
};

// Callback bound to an object; the first argument is the sender.
#include <functional>
class QObject;
using TNotifyEvent = std::function<void(QObject *Sender)>;
