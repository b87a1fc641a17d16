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
  std::vector<std::string> logged;
  TEventQueue queue{[this](TClientEvent& record) {
                      maxDepth = std::max(maxDepth, ++depth);
                      fired.push_back(record.text);
                      if (during) during(record);
                      --depth;
                    },
                    [this](const std::string& line) { logged.push_back(line); }};
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

TEST(TallisEventQueue, FrozenQueueDropsItsOldestDataEventsPastTheCapAndCountsThem) {
  Recorder r;
  r.queue.SetFrozen(true);
  auto question = Record("question");
  question->kind = ekInteract;
  r.queue.Enqueue(std::move(question));
  for (std::size_t n = 0; n < kMaxQueuedEvents + 10; ++n) r.queue.Enqueue(Record(std::to_string(n)));
  EXPECT_EQ(r.queue.Size(), kMaxQueuedEvents);
  EXPECT_EQ(r.logged.size(), 1u) << "one line when dropping starts";
  r.queue.SetFrozen(false);
  ASSERT_EQ(r.fired.size(), kMaxQueuedEvents);
  EXPECT_EQ(r.fired[0], "question");
  EXPECT_EQ(r.fired[1], "11");
  EXPECT_NE(r.logged.back().find("11 data events"), std::string::npos) << r.logged.back();
}

}  // namespace
}  // namespace ravelin
