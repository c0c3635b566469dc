#include "platform/PfImageResample.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace
{

// Contributions of the source samples to each destination sample along one axis: the first source index
// and fixed-point weights (16.16) that sum to 65536.
struct Taps
{
    std::vector<uint32_t> First;
    std::vector<uint32_t> Count;
    std::vector<uint32_t> Weights;
    std::vector<uint32_t> Offset;
};

void MakeTaps(uint32_t sourceSize, uint32_t destSize, Taps& taps)
{
    const double scale = (double)destSize / sourceSize;
    const double support = scale < 1.0 ? 1.0 / scale : 1.0;
    taps.First.resize(destSize);
    taps.Count.resize(destSize);
    taps.Offset.resize(destSize);
    taps.Weights.clear();
    std::vector<double> w;
    for (uint32_t d = 0; d < destSize; ++d)
    {
        const double centre = (d + 0.5) / scale - 0.5;
        const int lo = std::max(0, (int)std::floor(centre - support) + 1);
        const int hi = std::min((int)sourceSize - 1, (int)std::ceil(centre + support) - 1);
        w.clear();
        double sum = 0.0;
        for (int s = lo; s <= hi; ++s)
        {
            const double x = std::fabs(s - centre) / support;
            const double weight = x < 1.0 ? 1.0 - x : 0.0;
            w.push_back(weight);
            sum += weight;
        }
        int first = lo;
        if (w.empty() || sum <= 0.0)
        {
            // The centre lies between samples at the edge: take the nearest one.
            first = std::clamp((int)std::lround(centre), 0, (int)sourceSize - 1);
            w.assign(1, 1.0);
            sum = 1.0;
        }
        taps.First[d] = (uint32_t)first;
        taps.Count[d] = (uint32_t)w.size();
        taps.Offset[d] = (uint32_t)taps.Weights.size();
        uint32_t total = 0;
        for (size_t i = 0; i < w.size(); ++i)
        {
            const uint32_t fixed = (uint32_t)std::lround(w[i] / sum * 65536.0);
            taps.Weights.push_back(fixed);
            total += fixed;
        }
        // Rounding may leave the sum off by a little: the largest tap takes the difference.
        auto largest = std::max_element(taps.Weights.begin() + taps.Offset[d], taps.Weights.end());
        *largest += 65536u - total;
    }
}

} // namespace

namespace
{

bool IsOpaque(const PfImage& image)
{
    // Whole pixels are ANDed together (a loop the compiler vectorises); the alpha byte of the result
    // tells whether every pixel was opaque.
    const uint8_t* p = image.GetData();
    const size_t count = (size_t)image.GetWidth() * image.GetHeight();
    uint32_t all = 0xFFFFFFFFu;
    for (size_t i = 0; i < count; ++i)
    {
        uint32_t pixel;
        std::memcpy(&pixel, p + i * 4, 4);
        all &= pixel;
    }
    uint8_t bytes[4];
    std::memcpy(bytes, &all, 4);
    return bytes[3] == 0xFF;
}

// One destination row from two source rows a and b, weighted wb (16.16, below 65536) for b and the rest
// for a: floor((a (65536 - wb) + b wb + 32768) / 65536), exactly what the general loop forms. Written as
// a + floor((d wb + 32768) / 65536) with d = b - a, which 16-bit lanes compute exactly: the signed high
// half of d wb plus the top bit of its low half (the rounding carry). For wb of 32768 and above the
// signed multiply sees wb - 65536, whose high half is d less, so b stands in for a as the base.
void BlendRows(uint8_t* out, const uint8_t* a, const uint8_t* b, uint32_t wb, size_t count)
{
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i weight = _mm_set1_epi16((int16_t)(uint16_t)wb);
    const bool fromB = wb >= 32768u;
    for (; i + 16 <= count; i += 16)
    {
        const __m128i va = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
        const __m128i vb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
        const __m128i aLo = _mm_unpacklo_epi8(va, zero), aHi = _mm_unpackhi_epi8(va, zero);
        const __m128i bLo = _mm_unpacklo_epi8(vb, zero), bHi = _mm_unpackhi_epi8(vb, zero);
        const __m128i dLo = _mm_sub_epi16(bLo, aLo), dHi = _mm_sub_epi16(bHi, aHi);
        __m128i rLo = _mm_add_epi16(fromB ? bLo : aLo, _mm_mulhi_epi16(dLo, weight));
        __m128i rHi = _mm_add_epi16(fromB ? bHi : aHi, _mm_mulhi_epi16(dHi, weight));
        rLo = _mm_add_epi16(rLo, _mm_srli_epi16(_mm_mullo_epi16(dLo, weight), 15));
        rHi = _mm_add_epi16(rHi, _mm_srli_epi16(_mm_mullo_epi16(dHi, weight), 15));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(rLo, rHi));
    }
#endif
    const uint32_t wa = 65536u - wb;
    for (; i < count; ++i)
        out[i] = (uint8_t)((wa * a[i] + wb * b[i] + (1u << 15)) >> 16);
}

// Opaque pictures need no alpha weighting: both passes are plain weighted sums in 32-bit integers, the
// vertical one accumulated a whole row at a time.
void TriangleOpaque(const PfImage& source, const Taps& across, const Taps& down, uint32_t width, uint32_t height,
                    uint8_t* dest, uint32_t pitch)
{
    const uint32_t sw = source.GetWidth(), sh = source.GetHeight();
    const size_t rowValues = (size_t)width * 4;
    std::vector<uint32_t> acc(rowValues);
    if (sw == width)
    {
        // Rows keep their width: only the columns are weighted, straight from the source rows.
        for (uint32_t y = 0; y < height; ++y)
        {
            uint8_t* out = dest + (size_t)y * pitch;
            const uint32_t* wt = down.Weights.data() + down.Offset[y];
            if (down.Count[y] == 1)
            {
                std::memcpy(out, source.GetRow(down.First[y]), rowValues);
                continue;
            }
            if (down.Count[y] == 2 && wt[0] < 65536u && wt[1] < 65536u)
            {
                BlendRows(out, source.GetRow(down.First[y]), source.GetRow(down.First[y] + 1), wt[1], rowValues);
                continue;
            }
            std::fill(acc.begin(), acc.end(), 1u << 15);
            for (uint32_t t = 0; t < down.Count[y]; ++t)
            {
                const uint8_t* p = source.GetRow(down.First[y] + t);
                const uint32_t w = wt[t];
                for (size_t i = 0; i < rowValues; ++i)
                    acc[i] += w * p[i];
            }
            for (size_t i = 0; i < rowValues; ++i)
                out[i] = (uint8_t)(acc[i] >> 16);
        }
        return;
    }
    // Pass 1: each source row scaled across, kept as channel x 256 in 16 bits.
    std::vector<uint16_t> middle(rowValues * sh);
    for (uint32_t y = 0; y < sh; ++y)
    {
        const uint8_t* row = source.GetRow(y);
        uint16_t* out = middle.data() + (size_t)y * rowValues;
        for (uint32_t x = 0; x < width; ++x, out += 4)
        {
            uint32_t c0 = 0, c1 = 0, c2 = 0;
            const uint32_t* wt = across.Weights.data() + across.Offset[x];
            const uint8_t* p = row + (size_t)across.First[x] * 4;
            for (uint32_t i = 0; i < across.Count[x]; ++i, p += 4)
            {
                c0 += wt[i] * p[0];
                c1 += wt[i] * p[1];
                c2 += wt[i] * p[2];
            }
            out[0] = (uint16_t)((c0 + 128) >> 8);
            out[1] = (uint16_t)((c1 + 128) >> 8);
            out[2] = (uint16_t)((c2 + 128) >> 8);
            out[3] = 0xFF00;
        }
    }
    // Pass 2: rows of the intermediate weighted into each destination row.
    for (uint32_t y = 0; y < height; ++y)
    {
        uint8_t* out = dest + (size_t)y * pitch;
        const uint32_t* wt = down.Weights.data() + down.Offset[y];
        if (down.Count[y] == 1)
        {
            const uint16_t* p = middle.data() + (size_t)down.First[y] * rowValues;
            for (size_t i = 0; i < rowValues; ++i)
                out[i] = (uint8_t)((p[i] + 128) >> 8);
            continue;
        }
        std::fill(acc.begin(), acc.end(), 1u << 23);
        for (uint32_t t = 0; t < down.Count[y]; ++t)
        {
            const uint16_t* p = middle.data() + (size_t)(down.First[y] + t) * rowValues;
            const uint32_t w = wt[t];
            for (size_t i = 0; i < rowValues; ++i)
                acc[i] += w * p[i];
        }
        for (size_t i = 0; i < rowValues; ++i)
            out[i] = (uint8_t)(acc[i] >> 24);
    }
}

} // namespace

bool PfImageResample::Triangle(const PfImage& source, uint32_t width, uint32_t height, PfImage& destination)
{
    if (source.IsEmpty() || !destination.AllocateUncleared(width, height))
        return false;
    return Triangle(source, width, height, destination.GetData(), destination.GetPitch());
}

bool PfImageResample::Triangle(const PfImage& source, uint32_t width, uint32_t height, uint8_t* dest, uint32_t pitch)
{
    if (source.IsEmpty() || !dest || !PfImage::IsSizeAllowed(width, height) || pitch < width * 4)
        return false;
    const uint32_t sw = source.GetWidth(), sh = source.GetHeight();
    Taps across, down;
    MakeTaps(sw, width, across);
    MakeTaps(sh, height, down);
    if (IsOpaque(source))
    {
        TriangleOpaque(source, across, down, width, height, dest, pitch);
        return true;
    }
    // Pass 1: rows scaled across into premultiplied 16.16 intermediates, one per source row.
    std::vector<uint32_t> middle((size_t)width * sh * 4);
    for (uint32_t y = 0; y < sh; ++y)
    {
        const uint8_t* row = source.GetRow(y);
        uint32_t* out = middle.data() + (size_t)y * width * 4;
        for (uint32_t x = 0; x < width; ++x, out += 4)
        {
            uint64_t b = 0, g = 0, r = 0, a = 0;
            const uint32_t* wt = across.Weights.data() + across.Offset[x];
            const uint8_t* p = row + (size_t)across.First[x] * 4;
            for (uint32_t i = 0; i < across.Count[x]; ++i, p += 4)
            {
                const uint64_t wa = (uint64_t)wt[i] * p[3];
                b += wa * p[0];
                g += wa * p[1];
                r += wa * p[2];
                a += (uint64_t)wt[i] * p[3];
            }
            // Kept as colour x alpha / 255 and alpha, both scaled by 256.
            out[0] = (uint32_t)((b / 255) >> 8);
            out[1] = (uint32_t)((g / 255) >> 8);
            out[2] = (uint32_t)((r / 255) >> 8);
            out[3] = (uint32_t)(a >> 8);
        }
    }
    // Pass 2: columns scaled down, then the colour divided by alpha again.
    for (uint32_t y = 0; y < height; ++y)
    {
        uint8_t* out = dest + (size_t)y * pitch;
        const uint32_t* wt = down.Weights.data() + down.Offset[y];
        for (uint32_t x = 0; x < width; ++x, out += 4)
        {
            uint64_t c[4] = {0, 0, 0, 0};
            const uint32_t* p = middle.data() + ((size_t)down.First[y] * width + x) * 4;
            for (uint32_t i = 0; i < down.Count[y]; ++i, p += (size_t)width * 4)
                for (int k = 0; k < 4; ++k)
                    c[k] += (uint64_t)wt[i] * p[k];
            const uint64_t alpha = c[3]; // alpha x 256 x 65536
            if (alpha == 0)
            {
                out[0] = out[1] = out[2] = out[3] = 0;
                continue;
            }
            for (int k = 0; k < 3; ++k)
                out[k] = (uint8_t)std::min<uint64_t>(255, (c[k] * 255 + alpha / 2) / alpha);
            out[3] = (uint8_t)std::min<uint64_t>(255, (alpha + (1u << 23)) >> 24);
        }
    }
    return true;
}
