// A connection's event queue: order, freezing, and no firing inside a
// running delivery.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "com/event_queue.h"

namespace ravelin {
namespace {

std::unique_ptr<TClientEvent> Record(const std::string& text) {
  auto record = std::make_unique<TClientEvent>();
  record->text = text;
  return record;
}

struct Recorder {
  std::vector<std::string> fired;
  int depth = 0;
  int maxDepth = 0;
  std::function<void(TClientEvent&)> during;
  TEventQueue queue{[this](TClientEvent& record) {
    maxDepth = std::max(maxDepth, ++depth);
    fired.push_back(record.text);
    if (during) during(record);
    --depth;
  }};
};

TEST(TallisEventQueue, FrozenRecordsWaitAndThawFiresThemInOrder) {
  Recorder r;
  r.queue.SetFrozen(true);
  r.queue.Enqueue(Record("a"));
  r.queue.Enqueue(Record("b"));
  EXPECT_TRUE(r.fired.empty());
  EXPECT_EQ(r.queue.Size(), 2u);
  r.queue.SetFrozen(false);
  EXPECT_EQ(r.fired, (std::vector<std::string>{"a", "b"}));
  r.queue.Enqueue(Record("c"));
  EXPECT_EQ(r.fired.back(), "c");
}

TEST(TallisEventQueue, RecordArrivingDuringAHandlerIsFiredAfterIt) {
  Recorder r;
  r.during = [&](TClientEvent& record) {
    if (record.text == "a") {
      r.queue.Enqueue(Record("b"));
      EXPECT_TRUE(r.queue.Delivering());
      EXPECT_EQ(r.fired.size(), 1u) << "fired inside the running handler";
    }
  };
  r.queue.Enqueue(Record("a"));
  EXPECT_EQ(r.fired, (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(r.maxDepth, 1);
  EXPECT_FALSE(r.queue.Delivering());
}

TEST(TallisEventQueue, FreezingInsideAHandlerKeepsTheRest) {
  Recorder r;
  r.during = [&](TClientEvent&) { r.queue.SetFrozen(true); };
  r.queue.SetFrozen(true);
  r.queue.Enqueue(Record("a"));
  r.queue.Enqueue(Record("b"));
  r.queue.SetFrozen(false);
  EXPECT_EQ(r.fired, (std::vector<std::string>{"a"}));
  r.during = nullptr;
  r.queue.SetFrozen(false);
  EXPECT_EQ(r.fired, (std::vector<std::string>{"a", "b"}));
}

TEST(TallisEventQueue, TakeAllEmptiesWithoutFiring) {
  Recorder r;
  r.queue.SetFrozen(true);
  r.queue.Enqueue(Record("a"));
  r.queue.Enqueue(Record("b"));
  const auto taken = r.queue.TakeAll();
  ASSERT_EQ(taken.size(), 2u);
  EXPECT_EQ(taken[0]->text, "a");
  r.queue.SetFrozen(false);
  EXPECT_TRUE(r.fired.empty());
}

}  // namespace
}  // namespace ravelin
