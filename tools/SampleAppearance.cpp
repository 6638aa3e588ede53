#include "tools/SampleAppearance.h"

namespace tovmar::sample {

std::string MakeSampleAppearanceXml() {
  return R"(<?xml version="1.0" encoding="US-ASCII" standalone="yes"?>
<linden_genepool version="1.0">
  <archetype name="Tovmar Sample">
    <param id="10001" name="Big_Belly_Torso" value="0.8"/>
    <param id="10002" name="big_chest" value="1.2"/>
    <param id="10003" name="Broad_Shoulders" value="-0.5"/>
    <texture te="0" id="00000000-0000-0000-0000-000000000000"/>
    <param id="10005" name="Long_Legs" value="1"/>
    <param id="10006" name="Big_Head" value="0.4"/>
    <param id="20001" name="Eyebrow_Size" value="0.6"/>
    <param id="20002" name="Hair_Front" value="0.3"/>
  </archetype>
</linden_genepool>
)";
}

}  // namespace tovmar::sample
