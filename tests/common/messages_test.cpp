#include "common/messages.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

TEST(RecordedMessages, RecordsShowsAndAnswersQuestionsInOrder) {
  common::RecordedMessages messages;
  messages.QueueAnswer(true);
  messages.Show("Read past end of file", "File error");
  EXPECT_TRUE(messages.Ask("Save?", "Save Changes?"));
  EXPECT_FALSE(messages.Ask("Again?", "Save Changes?")) << "an empty queue answers No";
  ASSERT_EQ(messages.entries().size(), 3u);
  EXPECT_TRUE(messages.entries()[1].question);
  EXPECT_EQ(messages.Lines()[0], "File error: Read past end of file");
}

TEST(StreamMessages, PrintsCaptionThenTextAndGivesTheFixedAnswer) {
  std::ostringstream out;
  common::StreamMessages messages(out, true);
  messages.Show("Copying of sectors has been\ncompleted succesfully", "Copy Complete");
  EXPECT_TRUE(messages.Ask("Continue?", "Error"));
  EXPECT_EQ(out.str(),
            "Copy Complete: Copying of sectors has been\ncompleted succesfully\nError: Continue?\n");
  EXPECT_EQ(messages.count(), 2);
}

}  // namespace
