#pragma once

class GxSystemConfig;

// The animation pools' part in the game's start-up and shut-down, and the factories' part in the engine's
// finalisation, each in its fixed order.
class GxNcAnimationPools
{
public:
    // The image-set pool emptied, then the common UI sets "ui_common.gis", "ui_avgmain.gis" and
    // "ui_iconpool.gis" from the UI image-set folder, the icon index over the last, and every effect of the
    // effect table from the animation folders. Runs once the tables are loaded.
    static void Fill(const GxSystemConfig& config);
    // At the game's shut-down, the image-set pool (with the icon index over it) first, the effect pool
    // after the other game data; both before the factories report.
    static void EmptyImageSets();
    static void EmptyEffects();
    // Both factories' reports of objects still held, then the projects' release and the sets'.
    static void ReportFactories();
    static void ReleaseFactories();
    // Enters the two steps above into the engine's shut-down once; each factory calls it when its instance
    // is made, so the projects are always reported and released before the image sets they hold.
    static void RegisterFactoryShutdown();
};
