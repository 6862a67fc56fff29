#include <gtest/gtest.h>

#include "platform/charset_detect.h"
#include "support/temp_dir.h"

TEST(CharsetDetect, TextsOfUnknownCharsetReadAsWritten)
{
    // Each row: the bytes of a lyrics or playlist text, the character set found, the text.
    // UTF-8 with and without a byte-order mark, UTF-16 both ways with and without one,
    // GB18030 with word times, Big5, and short names that are the hard case.
    for (const auto& row : testing_support::testRows("platform/text_charsets.tsv", true)) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(platform::detectCharset(row.at(0)), row.at(1)) << row[2];
        EXPECT_EQ(platform::decodeDetected(row[0]), row.at(2));
    }
}

TEST(CharsetDetect, SingleByteTagFieldsReadAsChineseOnlyWhereTheyFit)
{
    // Each row: the bytes of a Latin-1 tag field and the text shown: GBK and Big5 names of
    // two to four characters, and Latin-1 names that must stay as they are.
    for (const auto& row : testing_support::testRows("platform/tag_fields.tsv", true))
        EXPECT_EQ(platform::decodeSingleByteField(row.at(0)), row.at(1)) << row.name;
}
