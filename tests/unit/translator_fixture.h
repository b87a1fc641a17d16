// A translator in a known state, talking to a scripted fake host: register 1
// current and selected, defaults of every option and switch, empty queue.
#pragma once

#include <gtest/gtest.h>

#include "exports/process_state.h"
#include "fake_host.h"
#include "installed_host.h"
#include "language/message_tables.h"
#include "language/result_text.h"
#include "link/frame_exchange.h"
#include "link/key_batch.h"
#include "state/ecr_config.h"
#include "state/executor_state.h"
#include "state/library_state.h"

class TranslatorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    quadrel_test::InstallHost(quadrel_test::FakeHost::io(), quadrel_test::FakeHost::progress(), &host.info());
  }

  // No pointer into this test's host may outlive it.
  void TearDown() override { quadrel::ResetProcessState(); }

  quadrel_test::FakeHost host;
};
