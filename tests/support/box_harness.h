#pragma once
// A whole session whose New and Open identify the Box over a link on a virtual clock.
#include "operations/box/box_operations.h"
#include "support/fakes.h"
#include "support/link_harness.h"

namespace vyk::test {

template <typename P>
struct BoxHarness : LinkHarness<P, Harness> {
  template <typename... Args>
  explicit BoxHarness(Args&&... args) : LinkHarness<P, Harness>(std::forward<Args>(args)...) {
    this->session.connectBox = [this](Session& s, uint8_t group) {
      return ConnectBox(s, this->link, group);
    };
  }
};

using SimHarness = BoxHarness<SimPort>;
using ScriptedHarness = BoxHarness<ScriptedPort>;

}  // namespace vyk::test
