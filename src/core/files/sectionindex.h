#pragma once

#include <QChar>
#include <QStringView>
#include <cstdint>
#include <vector>

// The sections of a profile by name, compared without regard to letter case
// (each UTF-16 unit case-folded). A damaged file may hold millions of tiny
// sections: each costs one hash of its name and a few bytes here, and no
// allocation of its own, so that indexing them stays linear and fast.
//
// Entries are numbered 0, 1, 2 ... in the order they are added; the caller
// keeps their names and hands them over as `nameOf(entry)`.
class SectionIndex
{
public:
    void clear()
    {
        m_slots.clear();
        m_hashes.clear();
    }

    // The entry named `name`, or -1.
    template <typename NameOf>
    qsizetype find(QStringView name, const NameOf &nameOf) const
    {
        return find(name, hash(name), nameOf);
    }

    // Adds the next entry, named `name`, unless an entry of that name exists:
    // then returns that entry's number and adds nothing; otherwise -1.
    template <typename NameOf>
    qsizetype add(QStringView name, const NameOf &nameOf)
    {
        const std::uint32_t h = hash(name);
        if (const qsizetype found = find(name, h, nameOf); found >= 0)
            return found;
        m_hashes.push_back(h);
        if (m_hashes.size() * 2 > m_slots.size())
            rebuild();
        else
            place(m_hashes.size() - 1);
        return -1;
    }

private:
    static std::uint32_t hash(QStringView name)
    {
        std::uint32_t h = 2166136261u; // FNV-1a over the folded units
        for (const QChar c : name) {
            h ^= QChar::toCaseFolded(c.unicode());
            h *= 16777619u;
        }
        return h;
    }
    static bool sameName(QStringView a, QStringView b)
    {
        if (a.size() != b.size())
            return false;
        for (qsizetype i = 0; i < a.size(); ++i) {
            if (QChar::toCaseFolded(a[i].unicode()) != QChar::toCaseFolded(b[i].unicode()))
                return false;
        }
        return true;
    }

    template <typename NameOf>
    qsizetype find(QStringView name, std::uint32_t h, const NameOf &nameOf) const
    {
        if (m_slots.empty())
            return -1;
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t i = h & mask;; i = (i + 1) & mask) {
            const std::uint32_t slot = m_slots[i];
            if (slot == 0)
                return -1;
            if (m_hashes[slot - 1] == h && sameName(nameOf(slot - 1), name))
                return qsizetype(slot - 1);
        }
    }
    void place(std::size_t entry)
    {
        const std::size_t mask = m_slots.size() - 1;
        std::size_t i = m_hashes[entry] & mask;
        while (m_slots[i] != 0)
            i = (i + 1) & mask;
        m_slots[i] = std::uint32_t(entry + 1);
    }
    void rebuild()
    {
        std::size_t size = 16;
        while (size < m_hashes.size() * 4)
            size *= 2;
        m_slots.assign(size, 0);
        for (std::size_t entry = 0; entry < m_hashes.size(); ++entry)
            place(entry);
    }

    std::vector<std::uint32_t> m_slots;  // entry + 1 by hash, 0 for a free slot
    std::vector<std::uint32_t> m_hashes; // by entry
};
