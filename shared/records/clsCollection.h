#pragma once

#include <QHash>
#include <QString>
#include <memory>
#include <stdexcept>
#include <vector>

// Ordered collection with optional text keys, addressed from 1 like the
// record sets of the system. Owns its members. An unknown position or key is
// an error of the collection (std::out_of_range); a duplicate key is refused
// (std::invalid_argument) and the member is not added.
template <typename T> class clsCollection {
public:
    clsCollection() = default;
    clsCollection(const clsCollection&) = delete;
    clsCollection& operator=(const clsCollection&) = delete;
    clsCollection(clsCollection&&) noexcept = default;
    clsCollection& operator=(clsCollection&&) noexcept = default;

    T& Append(std::unique_ptr<T> member, const QString& key = QString()) {
        if (!key.isEmpty()) {
            if (m_index.contains(key))
                throw std::invalid_argument("duplicate key in collection: " + key.toStdString());
            m_index.insert(key, m_items.size());
        }
        m_keys.push_back(key);
        m_items.push_back(std::move(member));
        return *m_items.back();
    }

    int Count() const { return static_cast<int>(m_items.size()); }

    T& Item(int position) {
        if (position < 1 || position > Count())
            throw std::out_of_range("collection position out of range");
        return *m_items[position - 1];
    }
    const T& Item(int position) const { return const_cast<clsCollection*>(this)->Item(position); }

    T& Item(const QString& key) {
        auto it = m_index.constFind(key);
        if (it == m_index.constEnd())
            throw std::out_of_range("unknown collection key: " + key.toStdString());
        return *m_items[*it];
    }
    const T& Item(const QString& key) const { return const_cast<clsCollection*>(this)->Item(key); }

    bool Contains(const QString& key) const { return m_index.contains(key); }
    // The member under key, or nullptr.
    T* Find(const QString& key) {
        auto it = m_index.constFind(key);
        return it == m_index.constEnd() ? nullptr : m_items[*it].get();
    }

    void Remove(int position) {
        if (position < 1 || position > Count())
            throw std::out_of_range("collection position out of range");
        eraseAt(position - 1);
    }
    void Remove(const QString& key) {
        auto it = m_index.constFind(key);
        if (it == m_index.constEnd())
            throw std::out_of_range("unknown collection key: " + key.toStdString());
        eraseAt(*it);
    }
    void Clear() {
        m_items.clear();
        m_keys.clear();
        m_index.clear();
    }

    // Enumeration in order, yielding T&.
    template <typename It, typename V> class Iter {
    public:
        explicit Iter(It it) : m_it(it) {}
        V& operator*() const { return **m_it; }
        V* operator->() const { return m_it->get(); }
        Iter& operator++() {
            ++m_it;
            return *this;
        }
        bool operator!=(const Iter& o) const { return m_it != o.m_it; }
        bool operator==(const Iter& o) const { return m_it == o.m_it; }

    private:
        It m_it;
    };
    using iterator = Iter<typename std::vector<std::unique_ptr<T>>::iterator, T>;
    using const_iterator = Iter<typename std::vector<std::unique_ptr<T>>::const_iterator, const T>;
    iterator begin() { return iterator(m_items.begin()); }
    iterator end() { return iterator(m_items.end()); }
    const_iterator begin() const { return const_iterator(m_items.begin()); }
    const_iterator end() const { return const_iterator(m_items.end()); }

private:
    void eraseAt(size_t i) {
        m_items.erase(m_items.begin() + i);
        m_keys.erase(m_keys.begin() + i);
        // Positions after i moved down by one.
        m_index.clear();
        for (size_t k = 0; k < m_keys.size(); ++k)
            if (!m_keys[k].isEmpty())
                m_index.insert(m_keys[k], k);
    }

    std::vector<std::unique_ptr<T>> m_items;
    std::vector<QString> m_keys;
    QHash<QString, size_t> m_index;
};
