#pragma once

#include <memory>

namespace tellwright {

// Lets go of `doomed` on a thread kept for that alone, so that freeing a
// large result (a million matches, a survey's problems) never holds up the
// window's thread. Whoever else still shares it keeps it; the last one to
// let go frees it, here or there. Must be called on the window's thread.
void DiscardElsewhere(std::shared_ptr<const void> doomed);

}  // namespace tellwright
