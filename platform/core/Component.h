#pragma once

/// @file
/// The loading state of components.

/// Loading state of a component: while a form's setup code applies the stored
/// settings, setters only store values; Loaded() then ends the state once so the
/// component can compute what depends on all its settings together.
class TLoadable
{
public:
    /// Destroys the component.
    virtual ~TLoadable() = default;

    /// Whether the stored settings are being applied (false until BeginLoading()).
    bool IsLoading() const { return m_loading; }
    /// Enters the loading state: setters store values and recompute nothing.
    void BeginLoading() { m_loading = true; }
    /// Ends the loading state; a component overrides it to compute what
    /// depends on its settings, and calls this base.
    virtual void Loaded() { m_loading = false; }

private:
    bool m_loading = false;
};

// Callback bound to an object; the first argument is the sender.
#include <functional>
class QObject;
/// An event without arguments: a callback bound to an object, called with the
/// object that raises it. An empty function is not called.
using TNotifyEvent = std::function<void(QObject *Sender)>;
