// Sending and receiving host-link messages and their dispatch.
#include "QuarvisDemon.h"

#include "MessageChannel.h"
#include "WindowFront.h"

#include <QWidget>

bool TvrxCustomDemon::SendHostMessage(TEntity &Target, qint32 Code, QByteArrayView Payload, TKventoMessageStream *Reply)
{
    const TTimeStamp stamp = NextTimeStamp();
    if (!m_endpoint || !m_endpoint->IsListening())
        return false;
    const QString name = Target.EndpointName();
    if (name.isEmpty())
        return false;

    // Replies come back on the same connection and are handled as they arrive.
    SendFrame(
        name, m_own->WindowHandle, quint32(Code), EncodeMessageData(stamp, Payload),
        [this](TFrame &Frame) { ReceiveFrame(std::move(Frame)); }, m_timeoutMs);

    for (auto it = m_pending.begin(); it != m_pending.end(); ++it) {
        if ((*it)->TimeStamp == stamp) {
            if (Reply)
                Reply->CopyFrom(**it);
            m_pending.erase(it);
            return true;
        }
    }
    return false;
}

void TvrxCustomDemon::ReceiveFrame(TFrame Frame)
{
    if (m_shutDown)
        return;
    std::optional<TMessageData> data = DecodeMessageData(std::move(Frame.Data));
    if (!data)
        return; // too short to carry a time stamp: not a message
    auto message = std::make_unique<TKventoMessageStream>(this);
    message->Code = qint32(Frame.Code);
    message->TimeStamp = data->Stamp;
    message->Sender().WindowHandle = Frame.Sender;
    message->SetPayload(data->Payload);
    data.reset(); // the stream holds the only reference to the bytes
    HandleMessage(message);
}

void TvrxCustomDemon::HandleMessage(std::unique_ptr<TKventoMessageStream> &Msg)
{
    if (!Msg)
        return;
    switch (Msg->Code) {
    case kvQuit: {
        const QByteArray payload = Msg->Payload();
        m_serverDown = !payload.isEmpty() && payload[0] != 0;
        bool allowQuit = true;
        if (OnQuitMsgReceived)
            OnQuitMsgReceived(this, m_serverDown, allowQuit);
        if (allowQuit && !m_freeing) {
            // Freed from the event loop: the request may have arrived nested
            // inside a send that is still running on this object.
            m_freeing = true;
            deleteLater();
        }
        break;
    }
    case kvReply: {
        m_pending.push_back(std::move(Msg));
        // Only the connection of a request carries its reply; a flood of
        // unmatched replies must not grow without bound, in number or in bytes.
        qsizetype bytes = 0;
        for (const auto &reply : m_pending)
            bytes += reply->size();
        while (m_pending.size() > 1 &&
               (qsizetype(m_pending.size()) > MaxPendingReplies || bytes > MaxPendingReplyBytes)) {
            bytes -= m_pending.front()->size();
            m_pending.erase(m_pending.begin());
        }
        break;
    }
    case kvParams:
        // No command line is that long: such a list never came from a second
        // start (and a flood of empty lines would cost far more than its bytes).
        if (Msg->size() > MaxForwardedParamBytes || CountParamLines(Msg->data()) > MaxForwardedParams)
            break;
        m_params = DecodeParamLines(Msg->Payload());
        RaiseOwnerWindow(); // first: the handler may free this component
        if (OnParamsChange)
            OnParamsChange(this);
        break;
    default:
        if (OnGotAMessage)
            OnGotAMessage(this, *Msg);
        break;
    }
}

void TvrxCustomDemon::RaiseOwnerWindow()
{
    // A second start hands its parameters over: the user wants to see this window.
    auto *owner = qobject_cast<QWidget *>(parent());
    if (owner && owner->window()->isVisible())
        BringToFront(owner->window());
}
