#include "tools/serviceproc/FrameCheck.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

std::string Body(const std::string& document)
{
    return document + std::string(1, '\0');
}

std::string Problem(const std::string& body)
{
    std::string line;
    std::string problem;
    EXPECT_FALSE(CheckFrameBody(body, line, problem));
    return problem;
}

} // namespace

TEST(FrameCheck, EnvelopeBecomesOneLine)
{
    std::string line;
    std::string problem;
    ASSERT_TRUE(CheckFrameBody(Body("{\"data\":\"a\\nb\",\"sendurl\":\"u\",\"type\":0}\n"), line, problem));
    EXPECT_EQ("{\"data\":\"a\\nb\",\"sendurl\":\"u\",\"type\":0}", line);
    ASSERT_TRUE(
        CheckFrameBody(Body("{ \"type\" : 3,\n \"sendurl\" : \"u\", \"data\" : \"\" }"), line, problem));
    EXPECT_EQ("{\"data\":\"\",\"sendurl\":\"u\",\"type\":3}", line);
}

TEST(FrameCheck, FramingFaultsAreNamed)
{
    EXPECT_EQ("frame does not end with a zero byte", Problem(""));
    EXPECT_EQ("frame does not end with a zero byte",
              Problem("{\"data\":\"x\",\"sendurl\":\"u\",\"type\":0}"));
    EXPECT_EQ("document holds a zero byte", Problem(Body(std::string("{\"data\":\"x\"\0}", 13))));
}

TEST(FrameCheck, DocumentsThatAreNoEnvelopeAreRefused)
{
    EXPECT_EQ(0u, Problem(Body("")).find("document is not JSON"));
    EXPECT_EQ(0u, Problem(Body("{\"data\":")).find("document is not JSON"));
    EXPECT_EQ(0u, Problem(Body("{} trailing")).find("document is not JSON"));
    EXPECT_EQ(0u, Problem(Body(std::string(100000, '['))).find("document is not JSON"));
    EXPECT_EQ("document is not a JSON object", Problem(Body("[1]")));
    EXPECT_EQ("member \"data\" is missing or not a string", Problem(Body("{\"sendurl\":\"u\",\"type\":0}")));
    EXPECT_EQ("member \"data\" is missing or not a string",
              Problem(Body("{\"data\":1,\"sendurl\":\"u\",\"type\":0}")));
    EXPECT_EQ("member \"sendurl\" is missing or not a string", Problem(Body("{\"data\":\"x\",\"type\":0}")));
    EXPECT_EQ("member \"type\" is missing or not an integer",
              Problem(Body("{\"data\":\"x\",\"sendurl\":\"u\",\"type\":\"0\"}")));
    EXPECT_EQ("member \"type\" is missing or not an integer",
              Problem(Body("{\"data\":\"x\",\"sendurl\":\"u\",\"type\":0.5}")));
}

TEST(FrameCheck, LengthIsLittleEndianAndBounded)
{
    const unsigned char header[4] = {0x29, 0x01, 0x00, 0x00};
    EXPECT_EQ(0x129u, FrameLength(header));
    EXPECT_FALSE(FrameLengthInBounds(4));
    EXPECT_TRUE(FrameLengthInBounds(5));
    EXPECT_FALSE(FrameLengthInBounds(0xFFFFFFFFu));
}
