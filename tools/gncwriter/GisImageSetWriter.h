#pragma once

// Writes crammed image sets (".gis") in both forms over the engine's content writers and records: the
// description only; the page pictures are written by GisPacker (or by the caller). Header-only.

#include "GncProjectWriter.h"

#include "animation/GxNcCrammedImageSet.h"

class GisImageSetWriter
{
public:
    // withRawUV: whether patterns carry the optional "m_CrammedRawUV" rectangle.
    // patternCountBias is added to the stored "m_PatternCount" (readers must go by the list's own count).
    static bool Write(const std::string& path, const GxNcCrammedImageSet& set, GncForm form, bool withRawUV = true,
                      int32_t patternCountBias = 0)
    {
        FILE* file = std::fopen(path.c_str(), "wb");
        if (!file)
            return false;
        bool ok = true;
        {
            std::unique_ptr<GxContentWriterBase> w;
            if (form == GncForm::Text)
                w = std::make_unique<GxContentTextWriter>(file);
            else
                w = std::make_unique<GxContentBinaryWriter>(file);
            ok = w->WriteHeader(form == GncForm::Text ? "TGIMGSET" : "BGIMGSET", 1);
            ok = WriteValues(*w, set, withRawUV, patternCountBias) && ok;
        }
        ok = std::fflush(file) == 0 && ok;
        ok = std::fclose(file) == 0 && ok;
        return ok;
    }

    static bool WriteValues(GxContentWriterBase& w, const GxNcCrammedImageSet& set, bool withRawUV,
                            int32_t patternCountBias = 0)
    {
        bool ok = w.Write("m_EconomyMode", set.m_EconomyMode);
        ok &= w.ListBegin("m_CrammedImageArray", "", (uint32_t)set.m_CrammedImages.size());
        for (const GxNcCrammedImage& page : set.m_CrammedImages)
        {
            ok &= w.WriteString("m_FileName", page.m_FileName);
            ok &= w.Write("m_ImageWidth", page.m_ImageWidth);
            ok &= w.Write("m_ImageHeight", page.m_ImageHeight);
            ok &= w.Write("m_Count", page.m_Count);
            ok &= w.Write("m_PreserveFlag", page.m_PreserveFlag);
        }
        ok &= w.ListEnd();
        ok &= w.ListBegin("m_OriginImageArray", "", (uint32_t)set.m_OriginImages.size());
        for (const GxNcOriginImage& image : set.m_OriginImages)
        {
            ok &= w.WriteString("m_FileName", image.m_FileName);
            ok &= w.Write("m_PatternCount", (int32_t)image.m_Patterns.size() + patternCountBias);
            ok &= w.Write("m_ImageWidth", image.m_ImageWidth);
            ok &= w.Write("m_ImageHeight", image.m_ImageHeight);
            ok &= w.Write("m_PreserveFlag", image.m_PreserveFlag);
            ok &= w.ListBegin("m_PatternArray", "", (uint32_t)image.m_Patterns.size());
            for (const GxNcPattern& p : image.m_Patterns)
            {
                for (auto [name, value] : {std::pair{"m_Left", p.m_Left},
                                           {"m_Top", p.m_Top},
                                           {"m_Width", p.m_Width},
                                           {"m_Height", p.m_Height},
                                           {"m_CrammedImageIndex", p.m_CrammedImageIndex},
                                           {"m_CrammedOffsetLeft", p.m_CrammedOffsetLeft},
                                           {"m_CrammedOffsetTop", p.m_CrammedOffsetTop},
                                           {"m_CrammedLeft", p.m_CrammedLeft},
                                           {"m_CrammedTop", p.m_CrammedTop},
                                           {"m_CrammedWidth", p.m_CrammedWidth},
                                           {"m_CrammedHeight", p.m_CrammedHeight}})
                    ok &= w.Write(name, value);
                ok &= w.Write("m_CenterPosX", p.m_CenterPosX);
                ok &= w.Write("m_CenterPosY", p.m_CenterPosY);
                if (withRawUV)
                    ok &= w.Write("m_CrammedRawUV", &p.m_CrammedRawUV);
                ok &= w.Write("m_NoCutoffFlag", p.m_NoCutoffFlag);
                ok &= w.Write("m_Selected", (uint32_t)0);
            }
            ok &= w.ListEnd();
        }
        ok &= w.ListEnd();
        return ok;
    }
};
