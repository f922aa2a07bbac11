#include "app/client/XmlNesting.h"

#include <gtest/gtest.h>

TEST(XmlNesting, CountsOnlyRealElements)
{
    EXPECT_EQ(3u, MaxElementDepth("<?xml version=\"1.0\"?><r><c><s v=\"1\" /></c><d /></r>"));
    EXPECT_EQ(1u, MaxElementDepth("<r><!-- <a><b><c> --></r>"));
    EXPECT_EQ(1u, MaxElementDepth("<r><![CDATA[<a><b>]]></r>"));
    EXPECT_EQ(1u, MaxElementDepth("<r v=\"<a> />\" w='>'></r>"));
    EXPECT_EQ(2u, MaxElementDepth("<!DOCTYPE r><r><a>"));
}
