#pragma once

// Builds crammed image sets from pictures made in memory: each picture is cut into a grid of patterns,
// every pattern trimmed of its fully transparent border (so packed pieces carry non-zero offsets), the
// pieces packed into power-of-two pages on shelves, tallest first, one transparent pixel apart. The pages
// are written as PNG files beside the ".gis", which GisImageSetWriter writes. Header-only.

#include "GisImageSetWriter.h"

#include "core/GxString.h"
#include "platform/PfPngWriter.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

struct GisPicture
{
    std::wstring m_FileName; // the origin image's name in the set, "btn_start.png"
    uint32_t m_Width = 0;
    uint32_t m_Height = 0;
    std::vector<uint32_t> m_Pixels; // ARGB, rows top first
    uint32_t m_Columns = 1;         // patterns across, then rows down, numbered row by row
    uint32_t m_Rows = 1;

    uint32_t At(uint32_t x, uint32_t y) const { return m_Pixels[(size_t)y * m_Width + x]; }
};

class GisPacker
{
public:
    // Fills the set (pages, origin images, patterns with page rectangles, offsets, centres and raw UVs)
    // and the pixels of each page. Pages are named pageBaseName + "_<n>.png".
    static void Pack(const std::vector<GisPicture>& pictures, const std::wstring& pageBaseName, uint32_t pageSize,
                     GxNcCrammedImageSet& set, std::vector<std::vector<uint32_t>>& pages)
    {
        struct Piece
        {
            size_t m_Image, m_Pattern;
            uint32_t m_X, m_Y, m_W, m_H; // in the picture
        };
        std::vector<Piece> pieces;
        set.m_OriginImages.clear();
        set.m_CrammedImages.clear();
        pages.clear();
        for (size_t i = 0; i < pictures.size(); ++i)
        {
            const GisPicture& pic = pictures[i];
            GxNcOriginImage image;
            image.m_FileName = pic.m_FileName;
            image.m_ImageWidth = (int32_t)pic.m_Width;
            image.m_ImageHeight = (int32_t)pic.m_Height;
            const uint32_t pw = pic.m_Width / std::max(1u, pic.m_Columns);
            const uint32_t ph = pic.m_Height / std::max(1u, pic.m_Rows);
            for (uint32_t row = 0; row < std::max(1u, pic.m_Rows); ++row)
            {
                for (uint32_t col = 0; col < std::max(1u, pic.m_Columns); ++col)
                {
                    GxNcPattern p;
                    p.m_Left = (int32_t)(col * pw);
                    p.m_Top = (int32_t)(row * ph);
                    p.m_Width = (int32_t)pw;
                    p.m_Height = (int32_t)ph;
                    p.m_CenterPosX = pw * 0.5f;
                    p.m_CenterPosY = ph * 0.5f;
                    // The opaque part's bounding box.
                    uint32_t x0 = pw, y0 = ph, x1 = 0, y1 = 0;
                    for (uint32_t y = 0; y < ph; ++y)
                        for (uint32_t x = 0; x < pw; ++x)
                            if (pic.At(p.m_Left + x, p.m_Top + y) >> 24)
                            {
                                x0 = std::min(x0, x);
                                y0 = std::min(y0, y);
                                x1 = std::max(x1, x + 1);
                                y1 = std::max(y1, y + 1);
                            }
                    if (x0 >= x1)
                        x0 = y0 = x1 = y1 = 0;
                    p.m_CrammedOffsetLeft = (int32_t)x0;
                    p.m_CrammedOffsetTop = (int32_t)y0;
                    p.m_CrammedWidth = (int32_t)(x1 - x0);
                    p.m_CrammedHeight = (int32_t)(y1 - y0);
                    pieces.push_back({i, image.m_Patterns.size(), p.m_Left + x0, p.m_Top + y0, x1 - x0, y1 - y0});
                    image.m_Patterns.push_back(p);
                }
            }
            set.m_OriginImages.push_back(std::move(image));
        }

        uint32_t size = pageSize;
        for (const Piece& piece : pieces)
            while (std::max(piece.m_W, piece.m_H) + 2 > size)
                size *= 2;
        std::vector<size_t> order(pieces.size());
        for (size_t i = 0; i < order.size(); ++i)
            order[i] = i;
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return pieces[a].m_H > pieces[b].m_H; });

        uint32_t x = 1, y = 1, shelf = 0;
        auto newPage = [&]()
        {
            GxNcCrammedImage page;
            page.m_FileName = pageBaseName + L"_" + std::to_wstring(set.m_CrammedImages.size()) + L".png";
            page.m_ImageWidth = page.m_ImageHeight = (int32_t)size;
            set.m_CrammedImages.push_back(page);
            pages.emplace_back((size_t)size * size, 0u);
            x = y = 1;
            shelf = 0;
        };
        newPage();
        for (size_t index : order)
        {
            const Piece& piece = pieces[index];
            if (x + piece.m_W + 1 > size)
            {
                x = 1;
                y += shelf + 1;
                shelf = 0;
            }
            if (y + piece.m_H + 1 > size)
                newPage();
            GxNcPattern& p = set.m_OriginImages[piece.m_Image].m_Patterns[piece.m_Pattern];
            const int32_t pageIndex = (int32_t)set.m_CrammedImages.size() - 1;
            p.m_CrammedImageIndex = pageIndex;
            p.m_CrammedLeft = (int32_t)x;
            p.m_CrammedTop = (int32_t)y;
            p.m_CrammedRawUV = {(float)x / size, (float)y / size, (float)(x + piece.m_W) / size,
                                (float)(y + piece.m_H) / size};
            ++set.m_CrammedImages.back().m_Count;
            std::vector<uint32_t>& page = pages.back();
            const GisPicture& pic = pictures[piece.m_Image];
            for (uint32_t py = 0; py < piece.m_H; ++py)
                for (uint32_t px = 0; px < piece.m_W; ++px)
                    page[(size_t)(y + py) * size + x + px] = pic.At(piece.m_X + px, piece.m_Y + py);
            x += piece.m_W + 1;
            shelf = std::max(shelf, piece.m_H);
        }
    }

    // Packs, then writes the pages and the ".gis" into the folder (which ends in "/"); setFileName is the
    // set's file name there ("title.gis"). The set is filled as written.
    static bool Build(const std::string& folder, const std::wstring& setFileName,
                      const std::vector<GisPicture>& pictures, GncForm form, GxNcCrammedImageSet& set,
                      uint32_t pageSize = 256, bool economy = false)
    {
        std::wstring base = setFileName.substr(0, setFileName.rfind(L'.'));
        std::vector<std::vector<uint32_t>> pages;
        Pack(pictures, base, pageSize, set, pages);
        set.m_EconomyMode = economy;
        bool ok = true;
        for (size_t i = 0; i < pages.size(); ++i)
        {
            const GxNcCrammedImage& page = set.m_CrammedImages[i];
            ok &= PfPngWriter::Write(folder + GxString::ToUtf8(page.m_FileName), (uint32_t)page.m_ImageWidth,
                                     (uint32_t)page.m_ImageHeight, (const uint8_t*)pages[i].data());
        }
        return GisImageSetWriter::Write(folder + GxString::ToUtf8(setFileName), set, form) && ok;
    }
};
