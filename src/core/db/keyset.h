#pragma once

#include <QtGlobal>

#include <vector>

namespace ferlin {

// The row identities of a record set, in order. A run of consecutive identities (a whole table
// that was never thinned out, the usual case of the base) is held as its first value and its
// length, so that neither loading nor finding a row walks it; any other shape is a list.
class Keyset {
public:
    void assignRun(qint64 first, qint64 count)
    {
        m_list.clear();
        m_dense = true;
        m_first = first;
        m_count = count;
    }
    void assignList(std::vector<qint64> keys)
    {
        m_list = std::move(keys);
        m_dense = false;
    }

    bool isRun() const { return m_dense; }
    qint64 size() const { return m_dense ? m_count : qint64(m_list.size()); }
    bool empty() const { return size() == 0; }
    qint64 at(qint64 index) const { return m_dense ? m_first + index : m_list[size_t(index)]; }

    // The position of a key, -1 when the set does not hold it.
    qint64 indexOf(qint64 key) const
    {
        if (m_dense)
            return key >= m_first && key < m_first + m_count ? key - m_first : -1;
        for (size_t i = 0; i < m_list.size(); ++i) {
            if (m_list[i] == key)
                return qint64(i);
        }
        return -1;
    }

    void append(qint64 key)
    {
        if (m_dense && key == m_first + m_count) {
            ++m_count;
            return;
        }
        materialise();
        m_list.push_back(key);
    }
    void removeAt(qint64 index)
    {
        if (m_dense && index == m_count - 1) {
            --m_count;
            return;
        }
        materialise();
        m_list.erase(m_list.begin() + index);
    }

private:
    void materialise()
    {
        if (!m_dense)
            return;
        m_list.resize(size_t(m_count));
        for (qint64 i = 0; i < m_count; ++i)
            m_list[size_t(i)] = m_first + i;
        m_dense = false;
    }

    bool m_dense = false;
    qint64 m_first = 0;
    qint64 m_count = 0;
    std::vector<qint64> m_list;
};

} // namespace ferlin
