#pragma once

// The animation pools' part in the game's shut-down, and the factories' part in the engine's finalisation,
// each in its fixed order. The game's start-up fills the pools itself (GxGameRoot), from the folders of
// the system configuration.
class GxNcAnimationPools
{
public:
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
