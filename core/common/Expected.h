#pragma once
// A value or the reason there is none. The toolchains we build with (g++ 12 and
// clang 14 for the fuzzers) do not both offer std::expected, so this is the
// small subset we use, with the same spelling.

#include <utility>
#include <variant>

namespace dravel {

template <typename E>
struct Unexpected {
  E error;
};

template <typename E>
Unexpected(E) -> Unexpected<E>;

template <typename T, typename E>
class Expected {
 public:
  Expected(T value) : m_state(std::in_place_index<0>, std::move(value)) {}  // NOLINT(google-explicit-constructor)
  Expected(Unexpected<E> failure) : m_state(std::in_place_index<1>, std::move(failure.error)) {}  // NOLINT

  [[nodiscard]] bool has_value() const { return m_state.index() == 0; }
  explicit operator bool() const { return has_value(); }

  [[nodiscard]] T& value() & { return std::get<0>(m_state); }
  [[nodiscard]] const T& value() const& { return std::get<0>(m_state); }
  [[nodiscard]] T&& value() && { return std::get<0>(std::move(m_state)); }
  [[nodiscard]] const E& error() const { return std::get<1>(m_state); }

  T& operator*() & { return value(); }
  const T& operator*() const& { return value(); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }

 private:
  std::variant<T, E> m_state;
};

}  // namespace dravel
