#pragma once

#include <utility>

// Runs an action when the scope ends, however it ends: a pointer restored, a flag cleared, a file closed.
template <typename F> class ScopeGuard {
  public:
    explicit ScopeGuard(F action) : m_action(std::move(action)) {}
    ~ScopeGuard() { m_action(); }
    ScopeGuard(const ScopeGuard&) = delete;
    ScopeGuard& operator=(const ScopeGuard&) = delete;

  private:
    F m_action;
};
