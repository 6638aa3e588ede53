#include "tools/SampleSkeleton.h"

namespace tovmar {

std::string SampleSkeletonXml() {
  // The chest turns its children by 90 degrees about Z (+X becomes +Y, +Y becomes -X) and the
  // neck doubles their offsets, so the offsets below are written back through both.
  return R"(<?xml version="1.0" encoding="US-ASCII" standalone="yes"?>
<linden_skeleton num_bones="12" num_collision_volumes="3" version="2.0">
 <bone name="mPelvis" aliases="hip" group="Torso" support="base" pos="0 0 1.0" rot="0 0 0" scale="1 1 1" pivot="0 0 1.0">
  <collision_volume name="PELVIS" pos="0 0 0" rot="0 8 0" scale="0.1 0.1 0.1"/>
  <bone name="mTorso" group="Torso" support="base" pos="0 0 0.1" rot="0 0 0" scale="1 1 1" pivot="0 0 0.1">
   <collision_volume name="BELLY" pos="0 0 0" rot="0 0 0" scale="0.1 0.1 0.1"/>
   <bone name="mChest" group="Torso" support="base" pos="0 0 0.2" rot="0 0 90" scale="1 1 1" pivot="0 0 0.2">
    <bone name="mNeck" group="Torso" support="base" pos="0 0 0.2" rot="0 0 0" scale="2 2 2" pivot="0 0 0.2">
     <bone name="mHead" group="Torso" support="base" pos="0 0 0.1" rot="0 0 0" scale="0.5 0.5 0.5" pivot="0 0 0.1">
      <bone name="mEyeRight" group="Extra" support="base" pos="-0.04 -0.1 0.1" rot="0 0 0" scale="1 1 1" pivot="-0.04 -0.1 0.1"/>
      <bone name="mEyeLeft" group="Extra" support="base" pos="0.04 -0.1 0.1" rot="0 0 0" scale="1 1 1" pivot="0.04 -0.1 0.1"/>
     </bone>
    </bone>
    <bone name="mCollarLeft" group="Arms" support="extended" pos="0.1 0 0.15" rot="0 0 0" scale="1 1 1" pivot="0.1 0 0.15"/>
   </bone>
  </bone>
  <bone name="mHipRight" group="Legs" support="base" pos="0 -0.1 -0.05" rot="0 0 0" scale="1 1 1" pivot="0 -0.1 -0.05">
   <collision_volume name="R_UPPER_LEG" pos="0 0 -0.2" rot="0 0 0" scale="0.1 0.1 0.2"/>
   <bone name="mKneeRight" group="Legs" support="base" pos="0 0 -0.45" rot="0 0 0" scale="1 1 1" pivot="0 0 -0.45"/>
  </bone>
  <bone name="mHipLeft" group="Legs" support="base" pos="0 0.1 -0.05" rot="0 0 0" scale="1 1 1" pivot="0 0.1 -0.05">
   <bone name="mKneeLeft" group="Legs" support="base" pos="0 0 -0.45" rot="0 0 0" scale="1 1 1" pivot="0 0 -0.45"/>
  </bone>
 </bone>
</linden_skeleton>
)";
}

}  // namespace tovmar
