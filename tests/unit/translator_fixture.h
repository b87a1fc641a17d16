// A translator in a known state, talking to a scripted fake host: register 1
// current and selected, defaults of every option and switch, empty queue.
#pragma once

#include <gtest/gtest.h>

#include "ecr_config.h"
#include "executor_state.h"
#include "fake_host.h"
#include "frame_exchange.h"
#include "key_batch.h"
#include "library_state.h"
#include "message_tables.h"
#include "result_text.h"

class TranslatorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    quadrel::LibraryState& lib = quadrel::Library();
    lib = quadrel::LibraryState{};
    lib.initialised = true;
    lib.host.hostIO = quadrel_test::FakeHost::io();
    lib.host.progress = quadrel_test::FakeHost::progress();
    lib.host.info = &host.info();
    quadrel::WriteDefaultMessageTexts();
    quadrel::ResetAllEcrRecords();
    quadrel::CurrentEcr() = 1;
    quadrel::SelectedEcr() = 1;
    quadrel::SetCurrentRecordSlot(1);
    quadrel::Executor() = quadrel::ExecutorState{};
    quadrel::KeyBatch().Clear();
    quadrel::EcrStatusBytes() = quadrel::EcrStatusFields{};
    quadrel::Reply() = quadrel::ReplyState{};
  }

  // No pointer into this test's host may outlive it.
  void TearDown() override { quadrel::Library() = quadrel::LibraryState{}; }

  quadrel_test::FakeHost host;
};
