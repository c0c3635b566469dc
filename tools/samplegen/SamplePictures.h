#pragma once

// The story's pictures, drawn in code as flat colour areas (so a test can probe a pixel and know what it
// should be) and encoded with libpng at fixed settings: backgrounds, standing characters with their
// sub-layer parts, name pictures, event pictures with one wide version, transition rule images and the
// picture shown for a missing one.

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

// A picture of width x height ARGB pixels, rows top to bottom, as PNG bytes (RGBA, no time stamp, fixed
// compression level and filters, so the bytes depend on the pixels only); empty if libpng fails.
std::string EncodeStoryPng(uint32_t width, uint32_t height, const std::vector<uint32_t>& argb);
// The 1024 x 768 pixels of a background ("forest", "castle", "village"; any other name is the black one).
std::vector<uint32_t> StoryBackground(const std::string& name);
// Every picture file of the story, paths relative to the game folder.
std::vector<std::pair<std::filesystem::path, std::string>> StoryPictureFiles();
