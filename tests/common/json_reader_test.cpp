#include <gtest/gtest.h>
#include <malloc.h>

#include "common/json_reader.h"

TEST(JsonReader, HoldsADocumentOfSmallValuesInAFewTimesTheSizeOfItsText)
{
    const auto heapInUse = [] { return mallinfo2().uordblks + mallinfo2().hblkhd; };
    // Two million zeros: the smallest values a resolver's answer can be made of.
    std::string text = "[0";
    for (int i = 0; i < 2000000; ++i)
        text += ",0";
    text += "]";
    const size_t before = heapInUse();
    const auto document = common::json::parse(text);
    ASSERT_TRUE(document);
    EXPECT_LT(heapInUse() - before, 10 * text.size());
}
