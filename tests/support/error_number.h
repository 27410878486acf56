#pragma once

#include "common/error.h"

#include <functional>

namespace qv::test {

// The number of the qv::Error that work raises, or 0 when it raises none.
inline int errorOf(const std::function<void()>& work)
{
    try {
        work();
    } catch (const Error& e) {
        return e.number();
    }
    return 0;
}

} // namespace qv::test
