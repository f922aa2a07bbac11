#pragma once

#include "app/service/ServiceProtocol.h"

#include <cstddef>
#include <cstdint>
#include <string>

// What the service stand-in accepts on its pipe. A frame is the total length
// N (4 bytes, little-endian), N - 5 bytes of document and one zero byte; the
// document is the envelope {"data": string, "sendurl": string, "type": int}.

// The smallest frame that can be taken apart (an empty document) and the
// largest one accepted; reports are a few hundred bytes.
constexpr uint32_t kMinFrameLength = Qlm::kPipeFrameOverhead;
constexpr uint32_t kMaxFrameLength = 1u << 20;

// Reads the little-endian length from the first four bytes of a frame.
uint32_t FrameLength(const unsigned char* header);

bool FrameLengthInBounds(uint32_t length);

// Checks the part of a frame after its length bytes. On success `line` is the
// envelope in compact form on one line (no line feed); otherwise `problem`
// says what is wrong.
bool CheckFrameBody(const std::string& body, std::string& line, std::string& problem);
