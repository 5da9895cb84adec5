#include <gtest/gtest.h>

#include "export/ChangeExport.h"

namespace korvel {
namespace {

// Rows are UTF-8 by contract; one that is not still gives a line a JSON reader takes.
TEST(ChangesJsonLines, EscapeAndReplaceWhatIsNotPlainUtf8)
{
    const ChangeRow row{"shop.taobao.com", "7", "title", "a\x80z", "line\nbreak \"q\" \\", std::nullopt,
                        std::nullopt, "\xE5\xBA", 3, 4};
    EXPECT_EQ(ChangesJsonLines({row}),
              "{\"shop\":\"shop.taobao.com\",\"id\":\"7\",\"kind\":\"title\",\"before\":\"a\xEF\xBF\xBDz\","
              "\"after\":\"line\\nbreak \\\"q\\\" \\\\\",\"delta\":null,\"percent\":null,"
              "\"title\":\"\xEF\xBF\xBD\",\"run_before\":3,\"run_after\":4}\n");
}

}  // namespace
}  // namespace korvel
