#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>

namespace kx {

// What an editor's store, restore or move changed, as a set of the editor's aspects (an enum
// class of at most 32 members). Its view redraws exactly the controls drawn from these.
template <class Aspect>
class Aspects {
  public:
    constexpr Aspects() = default;
    constexpr Aspects(Aspect a) : m_bits(bit(a)) {}
    constexpr Aspects(std::initializer_list<Aspect> list) {
        for (Aspect a : list)
            m_bits |= bit(a);
    }
    static constexpr Aspects all() {
        Aspects s;
        s.m_bits = ~std::uint32_t{0};
        return s;
    }

    constexpr bool empty() const { return m_bits == 0; }
    // True when any aspect of `other` is in this set.
    constexpr bool touches(Aspects other) const { return (m_bits & other.m_bits) != 0; }
    constexpr Aspects operator|(Aspects other) const {
        Aspects s;
        s.m_bits = m_bits | other.m_bits;
        return s;
    }
    constexpr Aspects& operator|=(Aspects other) {
        m_bits |= other.m_bits;
        return *this;
    }
    constexpr bool operator==(const Aspects&) const = default;

  private:
    static constexpr std::uint32_t bit(Aspect a) {
        return std::uint32_t{1} << static_cast<unsigned>(a);
    }
    std::uint32_t m_bits = 0;
};

// The one observer an editor's core tells what changed (its view).
template <class Aspect>
class ChangeNotice {
  public:
    using Observer = std::function<void(Aspects<Aspect>)>;

    void observe(Observer observer) { m_observer = std::move(observer); }
    void announce(Aspects<Aspect> changed) const {
        if (m_observer && !changed.empty()) m_observer(changed);
    }

  private:
    Observer m_observer;
};

}  // namespace kx
