// The composition root's wiring between features: the device's access codes
// reach the login, and a login re-checks the parameter tables' save buttons.
#include <gtest/gtest.h>

#include "link_fixture.h"
#include "table_device.h"

using namespace vantor;
using namespace vantor::test;

struct DeviceWiringTest : LinkFixture {
  TableDevice dev;
};

TEST_F(DeviceWiringTest, TableListCodesDecideTheLoginAndTheSaveButtonsFollowTheLevel) {
  dev.tables = {{"Pesagem", 1, {{"Alvo", "peso alvo", "g", 10, 5000, 500, 500}}}};
  dev.codes = {"oper1", "manut22", "serv333"};
  connectMain();
  device.channel.clearQueue();
  device.parTables.GetAllParClick();
  device.channel.sendNextCmd();
  dev.serve(lan2());
  ASSERT_TRUE(device.tablesLoaded);
  device.parTables.ListTabsChange(0);
  EXPECT_FALSE(device.parTables.controls.saveParEnabled);

  ASSERT_TRUE(device.access.FormDblClick());
  device.access.passwordDialogClosed("Velmor");  // levels 1..3 no longer take the built-in code
  EXPECT_EQ(device.access.level(), 4);
  device.access.FormDblClick();  // log out
  ASSERT_TRUE(device.access.FormDblClick());
  device.access.passwordDialogClosed("manut22");
  EXPECT_EQ(device.access.level(), 2);
  EXPECT_EQ(shell().statusBar[2], "MAINTENANCE USER");
  EXPECT_TRUE(device.parTables.controls.saveParEnabled);  // table level 1 needs level 2

  lan2().fail();  // a disconnect drops level 2 to 0
  EXPECT_EQ(device.access.level(), 0);
  EXPECT_EQ(shell().statusBar[2], "NO USER");
}
