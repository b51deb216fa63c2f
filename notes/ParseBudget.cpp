#include "ParseBudget.h"

#include <pugixml.hpp>

namespace {
ParseBudget* g_active = nullptr;
}

ParseBudget::ParseBudget(size_t bytes)
    : m_limit(bytes), m_outer(g_active),
      m_base(g_active ? g_active->m_base : pugi::get_memory_allocation_function()) {
    g_active = this;
    pugi::set_memory_management_functions(&ParseBudget::allocate, pugi::get_memory_deallocation_function());
}

ParseBudget::~ParseBudget() {
    g_active = m_outer;
    if (!m_outer)
        pugi::set_memory_management_functions(m_base, pugi::get_memory_deallocation_function());
}

void* ParseBudget::allocate(size_t size) {
    for (const ParseBudget* budget = g_active; budget; budget = budget->m_outer) {
        if (size > budget->m_limit - budget->m_used)
            return nullptr;
    }
    void* block = g_active->m_base(size);
    if (block) {
        for (ParseBudget* budget = g_active; budget; budget = budget->m_outer)
            budget->m_used += size;
    }
    return block;
}
