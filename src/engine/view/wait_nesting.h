#pragma once

namespace fennory {

// The counting rule every port's wait cursor follows: Begin adds one, End takes one away but
// never goes below 0. The return values tell the port when to swap cursors.
class WaitNesting {
  public:
    // True when the count went from 0 to 1: remember the cursor shown now, show the wait cursor.
    bool Begin() { return ++count_ == 1; }
    // True when the count reached 0 from 1: show the remembered cursor again.
    bool End() {
        if (count_ == 0) {
            return false;
        }
        return --count_ == 0;
    }
    int Count() const { return count_; }

  private:
    int count_ = 0;
};

}  // namespace fennory
