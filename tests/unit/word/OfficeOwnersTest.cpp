#include "word/OfficeOwners.h"

#include <gtest/gtest.h>

namespace kelvara::word {
namespace {

using platform::ProcessInfo;

const std::string kState = "/home/u/.local/state/kelvara";

std::string profileArg(const std::string& folder) {
  return "-env:UserInstallation=file://" + kState + "/" + folder;
}

ProcessInfo office(int pid, int ppid, const std::string& folder, uint64_t start) {
  return {pid,
          ppid,
          {"/usr/lib/libreoffice/program/soffice.bin", "--headless", profileArg(folder)},
          start};
}

ProcessInfo run(int pid, uint64_t start) {
  return {pid, 1, {"/usr/bin/kelvara-batch", "/i:", "/in/"}, start};
}

TEST(OfficeOwnersTest, KnowsOurOfficesByTheirProfile) {
  EXPECT_EQ(officeProfileRoot(kState + "/"), kState + "/office-");
  EXPECT_EQ(officeProfileRoot("/tmp//a/./b/"), "/tmp/a/b/office-");
  EXPECT_EQ(officeProfileOf({"/usr/lib/libreoffice/program/soffice.bin", "--headless",
                             profileArg("office-kelvara-12")},
                            kState),
            "office-kelvara-12");
  EXPECT_EQ(officeProfileOf({"oosplash", profileArg("office-k/")}, kState + "/"), "office-k");
  EXPECT_EQ(officeProfileOf({"soffice", profileArg("office-kelvara-3-1/user")}, kState),
            "office-kelvara-3-1");
  // The user's own office, a program that is no office, another folder, a bare root.
  EXPECT_FALSE(officeProfileOf(
      {"/usr/lib/libreoffice/program/soffice.bin", "--writer", "/home/u/letter.odt"}, kState));
  EXPECT_FALSE(officeProfileOf({"/usr/bin/vim", profileArg("office-k")}, kState));
  EXPECT_FALSE(officeProfileOf(
      {"soffice.bin", "-env:UserInstallation=file://" + kState + "2/office-k"}, kState));
  EXPECT_FALSE(officeProfileOf({"soffice.bin", profileArg("office-")}, kState));
  EXPECT_FALSE(officeProfileOf({"soffice.bin", profileArg("profile-kelvara-1")}, kState));
  EXPECT_FALSE(officeProfileOf({}, kState));
  // A state folder with a blank appears percent-encoded in the URL, or plain.
  EXPECT_EQ(officeProfileOf(
                {"soffice.bin", "-env:UserInstallation=file:///tmp/my%20state/office-kelvara-1"},
                "/tmp/my state"),
            "office-kelvara-1");
  EXPECT_EQ(officeProfileOf(
                {"soffice.bin", "-env:UserInstallation=file:///tmp/my state/office-kelvara-1"},
                "/tmp/my state/"),
            "office-kelvara-1");
}

TEST(OfficeOwnersTest, ReadsTheOwningRunFromTheProfileName) {
  EXPECT_EQ(profileOwner("office-kelvara-123"), 123);
  EXPECT_EQ(profileOwner("office-kelvara-123-0"), 123);  // one office of a pool
  EXPECT_EQ(profileOwner("office-kelvara-123-17"), 123);
  EXPECT_EQ(profileOwner("office-kelvara-4194304"), 4194304);
  EXPECT_EQ(profileOwner("office-kelvara-1"), 1);
  for (const char* other :
       {"office-kelvara-", "office-kelvara-0", "office-kelvara-12-", "office-kelvara-12x",
        "office-kelvara-1-2-3", "office-kelvara-test-live", "office-kelvara--5",
        "office-kelvara-1234567890", "office-k", "Office-kelvara-5", "kelvara-5",
        "office-kelvara-5-x"}) {
    EXPECT_FALSE(profileOwner(other)) << other;
  }
}

TEST(OfficeOwnersTest, AnOfficeIsStaleOnlyWhenItsRunIsGone) {
  const std::vector<ProcessInfo> list = {
      run(500, 1000),
      office(600, 500, "office-kelvara-500", 1200),  // live run, with a child of its office
      office(601, 600, "office-kelvara-500", 1201),
      office(610, 1, "office-kelvara-500-2", 1250),  // same run, one office of its pool
      office(700, 1, "office-kelvara-650", 1300),    // its run has ended
      office(701, 700, "office-kelvara-650", 1301),
      office(800, 1, "office-kelvara-900", 1400),  // its run's pid now belongs to a later process
      run(900, 5000),
      office(810, 1, "office-kelvara-910", 1500),  // its run is a zombie
      {910, 1, {}, 100, true},
      office(820, 1, "office-kelvara-test-x", 1600),  // a profile that names no run
      office(840, 1, "office-kelvara-12", 1700),      // run 12 is gone; 123 is another run
      run(123, 900),
      {300, 1, {"/usr/lib/libreoffice/program/soffice.bin", "--writer"}, 50},   // the user's own
      {850, 1, {"soffice.bin", profileArg("office-kelvara-650")}, 1800, true},  // already dead
  };
  EXPECT_EQ(findStaleOffices(list, kState, {}), (std::vector<int>{700, 800, 810, 820, 840}));
  // Offices of this process are spared whatever their profile is called, children included.
  EXPECT_EQ(findStaleOffices(list, kState, {820, 700}), (std::vector<int>{800, 810, 840}));
  // The same processes seen from another state folder are none of ours.
  EXPECT_TRUE(findStaleOffices(list, "/srv/kelvara", {}).empty());

  EXPECT_TRUE(ownerRunning(list, 500, 1200));
  EXPECT_TRUE(ownerRunning(list, 500, 1000));  // started in the same tick
  EXPECT_FALSE(ownerRunning(list, 500, 999));
  EXPECT_FALSE(ownerRunning(list, 910, 1500));
  EXPECT_FALSE(ownerRunning(list, 650, 1300));
}

TEST(OfficeOwnersTest, FindsTheOfficesOfOneRunByItsExactPid) {
  const std::vector<ProcessInfo> list = {
      office(20, 1, "office-kelvara-12", 10),   office(21, 20, "office-kelvara-12", 11),
      office(30, 1, "office-kelvara-123", 10),  office(40, 1, "office-kelvara-12-1", 10),
      office(50, 1, "office-kelvara-1", 10),    office(60, 1, "office-kelvara-212", 10),
      office(70, 1, "office-kelvara-test", 10),
  };
  EXPECT_EQ(officesOwnedBy(list, kState, 12), (std::vector<int>{20, 40}));
  EXPECT_EQ(officesOwnedBy(list, kState, 123), (std::vector<int>{30}));
  EXPECT_TRUE(officesOwnedBy(list, kState, 2).empty());
  EXPECT_EQ(ourOffices(list, kState), (std::vector<int>{20, 30, 40, 50, 60, 70}));
}

TEST(OfficeOwnersTest, ReadsThePipeName) {
  EXPECT_EQ(officePipeName({"soffice.bin", "--headless", "--accept=pipe,name=kelvara-12-3;urp;"}),
            "kelvara-12-3");
  EXPECT_EQ(officePipeName({"soffice.bin", "--accept=socket,host=localhost,port=2002;urp;"}), "");
  EXPECT_EQ(officePipeName({"soffice.bin"}), "");
}

}  // namespace
}  // namespace kelvara::word
