// Floating text: full colour for 50 steps, then fading by tenths; death at the end of its life, or at once
// without Setup.
#include "task/GxTaskCastString2D.h"
#include "task/GxTaskManage.h"

#include <gtest/gtest.h>

TEST(GxTaskCastString2D, FadesOverItsLastTenStepsAndDies)
{
    GxTaskManage manage;
    GxTaskBase* root = new GxTaskBase(&manage);
    auto* text = new GxTaskCastString2D(root);
    EXPECT_EQ(text->GetTypeCode(), 20);
    GxTaskCastString2D::Setup(text, L"+120", 100, 200, GxVector4(0, -2, 0, 0), GxVector4(1, 0.5f, 0, 0.8f), 3.0f);
    text->m_Acceleration = GxVector4(0, 1, 0, 0);
    std::vector<float> alphas;
    for (int step = 0; step < 60; ++step)
    {
        alphas.push_back(text->GetDrawColor().w);
        EXPECT_FALSE(text->IsDead()) << step;
        text->Update(0, 0);
    }
    EXPECT_TRUE(text->IsDead());
    for (int step = 0; step <= 50; ++step)
        EXPECT_FLOAT_EQ(alphas[step], 0.8f) << step;
    for (int step = 51; step < 60; ++step)
        EXPECT_FLOAT_EQ(alphas[step], (60 - step) / 10.0f) << step;
    EXPECT_FLOAT_EQ(text->m_Position.y, 200.0f - 2 * 60 + 59 * 60 / 2);
    EXPECT_EQ(text->m_Font, 3);

    auto* bare = new GxTaskCastString2D(root);
    bare->Update(0, 0);
    EXPECT_TRUE(bare->IsDead());
}
