#pragma once

#include <cstddef>

// Holds the XML parser to a number of bytes while it builds one tree, so a hostile document
// cannot eat the memory. For the life of the object the parser's allocation function is wrapped:
// every request counts, and one that would pass the budget fails, which the parser reports as
// "out of memory". Blocks still come from the allocation function that was installed before, and
// go back to its partner, so a tree may outlive the budget that built it. Scopes nest (each one
// holds); one thread at a time, as the parser's functions are global.
class ParseBudget {
  public:
    explicit ParseBudget(size_t bytes);
    ~ParseBudget();
    ParseBudget(const ParseBudget&) = delete;
    ParseBudget& operator=(const ParseBudget&) = delete;

    size_t used() const { return m_used; }

  private:
    using Allocate = void* (*)(size_t);
    static void* allocate(size_t size);

    size_t m_limit;
    size_t m_used = 0;
    ParseBudget* m_outer;
    Allocate m_base;
};
