#pragma once

// The story's movie: 2 seconds of MPEG-1 video with MP2 sound in an MPEG program stream, encoded with
// libavcodec's own encoders in bit-exact mode, so every run writes the same bytes.

#include <filesystem>
#include <string>

// The movie's solid colour (0xRRGGBB) at a time: a new colour every half second.
unsigned StoryMovieColour(double seconds);
// Writes the movie to path (through path + ".tmp", renamed over it); false with a message on stderr.
bool WriteStoryMovie(const std::filesystem::path& path);
