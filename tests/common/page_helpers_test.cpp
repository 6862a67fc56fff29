#include <gtest/gtest.h>

#include "common/page_helpers.h"
#include "support/temp_dir.h"

TEST(BytesToBstr, DecodesByCharsetName)
{
    // Each row: the bytes, the character set named, the text, whether the set is known (1).
    for (const auto& row : testing_support::testRows("common/bytes_to_bstr.tsv", true)) {
        SCOPED_TRACE(row.name);
        auto text = common::BytesToBstr(row[0], row[1]);
        EXPECT_EQ(text.ok(), row[3] == "1");
        EXPECT_EQ(std::move(text).valueOr({}), row[2]);
    }
}

TEST(UTF8EncodeURI, EscapesEachCodeUnitFromU0080UpInUpperCaseHex)
{
    for (const auto& row : testing_support::testRows("common/utf8_encode_uri.tsv", true))
        EXPECT_EQ(common::UTF8EncodeURI(row[0]), row[1]) << row.name;
}
