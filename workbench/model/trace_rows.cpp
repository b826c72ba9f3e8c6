#include "workbench/model/trace_rows.h"

#include <algorithm>

#include "trace/trace_buffer.h"

void CTraceRows::Update(const CTraceBuffer& buffer)
{
    m_buffer = &buffer;
    for (int channel = 0; channel < buffer.ChannelCount(); ++channel) {
        const std::string& name = buffer.Name(channel);
        if (std::find(m_order.begin(), m_order.end(), name) != m_order.end())
            continue;
        // A number goes before the first signal, a signal last.
        auto at = m_order.end();
        if (!buffer.IsBit(channel))
            at = std::find_if(m_order.begin(), m_order.end(), [this](const std::string& known) {
                const int other = ChannelNamed(known);
                return other >= 0 && m_buffer->IsBit(other);
            });
        m_order.insert(at, name);
    }
    Rebuild();
}

int CTraceRows::ChannelNamed(const std::string& name) const
{
    for (int channel = 0; m_buffer && channel < m_buffer->ChannelCount(); ++channel)
        if (m_buffer->Name(channel) == name)
            return channel;
    return -1;
}

void CTraceRows::Rebuild()
{
    m_shown.clear();
    for (const std::string& name : m_order)
        if (const int channel = ChannelNamed(name); channel >= 0 && !m_hidden.count(name))
            m_shown.push_back(channel);
}

void CTraceRows::Hide(int row)
{
    if (row < 0 || row >= static_cast<int>(m_shown.size()))
        return;
    m_hidden.insert(m_buffer->Name(m_shown[row]));
    Rebuild();
}

void CTraceRows::ShowAll()
{
    m_hidden.clear();
    Rebuild();
}

int CTraceRows::Move(int row, int by)
{
    const int count = static_cast<int>(m_shown.size());
    if (row < 0 || row >= count)
        return row;
    const int to = std::clamp(row + by, 0, count - 1);
    if (to == row)
        return row;
    // Swap the two names in the full order, hidden names between them keep their places.
    auto a = std::find(m_order.begin(), m_order.end(), m_buffer->Name(m_shown[row]));
    auto b = std::find(m_order.begin(), m_order.end(), m_buffer->Name(m_shown[to]));
    std::iter_swap(a, b);
    Rebuild();
    return to;
}

QStringList CTraceRows::Names() const
{
    QStringList names;
    for (int channel : m_shown)
        names << QString::fromStdString(m_buffer->Name(channel));
    return names;
}

QStringList CTraceRows::Apply(const QStringList& names)
{
    QStringList missing;
    std::vector<std::string> order;
    for (const QString& name : names) {
        const std::string wanted = name.toStdString();
        if (std::find(order.begin(), order.end(), wanted) != order.end())
            continue;
        if (ChannelNamed(wanted) < 0)
            missing << name;
        else
            order.push_back(wanted);
    }
    m_hidden.clear();
    for (const std::string& name : m_order)
        if (std::find(order.begin(), order.end(), name) == order.end()) {
            m_hidden.insert(name);
            order.push_back(name);
        }
    m_order = order;
    Rebuild();
    return missing;
}
