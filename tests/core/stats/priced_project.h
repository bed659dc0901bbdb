#pragma once

#include <string>
#include <string_view>

#include "core/project/project_document.h"
#include "tests/support/scripted_prompter.h"

namespace tf::test {

// A small project priced by hand: materials 水泥砂浆 (砂浆, 0.5), 界面剂 (砂浆, 2.4) and 乳胶漆
// (涂料, 18.5); 一般抹灰 030201 costs 12.5 labour, 3 machinery, 5.5 management per
// location, 水性涂料涂饰 030801 costs 8, 0 and 2.25.
class PricedProject {
  public:
    PricedProject();

    // Appends one analysis row to location `number` (from 1).
    void addRow(int number, std::string_view location, std::string_view code, double workQuantity,
                std::string_view material, double quantity, std::string_view unit, int materialId);
    // The three locations 客厅, 卧室 and 厨房 of the hand-computed figures.
    void enterThreeLocations();
    // Adds a material to the table and the catalogue; returns its id.
    int addMaterial(std::string_view category, std::string_view name, std::string_view unit,
                    std::string_view price);

    ProjectDocument doc;
    ScriptedPrompter prompter;

  private:
    int nextRow_ = 2;
    int nextMaterialRow_ = 1;
};

}  // namespace tf::test
