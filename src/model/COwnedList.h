#pragma once
#include <deque>
#include <memory>

// An ordered list of owned objects; no null is stored, no entry is shared.
template <class T>
using COwnedList = std::deque<std::unique_ptr<T>>;
