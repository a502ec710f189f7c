// Saving the control's settings with its form and loading them back: keys, order, defaults, the
// default chart folder from the registry, and what loading re-applies.
#include "control/PlotaraOcxModule.h"
#include "control_test_support.h"
#include "platform/FilePropertyBag.h"

#include <cstdlib>

namespace plotara {
namespace {

using test::ControlRig;
using test::errorOf;

// Points the machine registry at a file holding the given chart folder (none: no value).
class Registry {
public:
    explicit Registry(const std::optional<std::string>& chartsPath)
        : file_("registry.reg",
                "Windows Registry Editor Version 5.00\r\n\r\n"
                "[HKEY_LOCAL_MACHINE\\Software\\Quenmark\\Plotarix\\1.0.0]\r\n" +
                    (chartsPath ? "\"ChartsPath\"=\"" + *chartsPath + "\"\r\n" : std::string())) {
        ::setenv("PLOTARIX_REGISTRY", toUtf8(file_.path()).c_str(), 1);
    }
    ~Registry() { ::unsetenv("PLOTARIX_REGISTRY"); }

private:
    test::TempFile file_;
};

// A memory bag that journals every read and write ("read Border", "write Border") and can fail
// at a chosen name.
class JournalBag final : public PropertyBag {
public:
    MemoryPropertyBag inner;
    std::vector<String> journal;
    String failAt;

    Variant ReadProperty(const String& name, const Variant& defaultValue) override {
        journal.push_back(L"read " + name);
        if (name == failAt) raise(Error(7, L"Out of memory"));
        return inner.ReadProperty(name, defaultValue);
    }
    void WriteProperty(const String& name, const Variant& value,
                       const Variant& defaultValue) override {
        journal.push_back(L"write " + name);
        if (name == failAt) raise(Error(7, L"Out of memory"));
        inner.WriteProperty(name, value, defaultValue);
    }
};

const std::vector<String> keys = {L"Enabled",     L"Border",       L"ChartType",    L"ChartHeight",
                                  L"ChartWidth",  L"ChartPath",    L"ChartXMLFile", L"Debugger",
                                  L"ExternalXML", L"renderedFrom", L"BGColor",      L"Menu"};

std::vector<String> prefixed(const String& prefix, std::vector<String> names) {
    for (String& n : names)
        n = prefix + n;
    return names;
}

TEST(ControlPersistence, EmptyBagGivesTheDefaults) {
    Registry registry(std::string("/srv/charts/"));
    ControlRig rig(false);
    rig.container.resize(100, 80);
    rig->put_Menu(false);
    rig->put_Enabled(false);
    rig.clear();
    JournalBag bag;
    rig->ReadProperties(bag);
    // Read in table order with renderedFrom last.
    std::vector<String> order = keys;
    order.erase(order.begin() + 9);
    order.push_back(L"renderedFrom");
    EXPECT_EQ(bag.journal, prefixed(L"read ", order));
    EXPECT_TRUE(rig->get_Enabled());
    EXPECT_EQ(rig->get_Border(), enumBorderStyle::Face_3D);
    EXPECT_EQ(rig->get_ChartType(), enumChartNames::column3D);
    EXPECT_EQ(rig.container.scaleWidth(), 320);
    EXPECT_EQ(rig.container.scaleHeight(), 240);
    EXPECT_EQ(rig->get_ChartPath(), L"/srv/charts/");
    EXPECT_EQ(rig->get_setDataURL(), L"");
    EXPECT_FALSE(rig->get_Debugger());
    EXPECT_EQ(rig->get_setDataXML(), L"");
    EXPECT_EQ(rig->get_renderedFrom(), L"");
    EXPECT_EQ(rig->get_BGColor(), L"ffffff");
    EXPECT_TRUE(rig->get_Menu());
    EXPECT_EQ(rig.host->bgColor(), L"ffffff");
    EXPECT_TRUE(rig.host->menu());
    // Restoring applies through the writers, without design-time previews, and ends with
    // renderedFrom; Enabled is applied directly (no notification).
    EXPECT_EQ(rig.container.notifications(),
              (std::vector<String>{L"Border", L"ChartType", L"ChartPath", L"Debugger",
                                   L"XMLDataString", L"XMLDataPath", L"renderedFrom"}));
    EXPECT_TRUE(rig.host->movies().empty());
    EXPECT_EQ(rig.host->calls(), (std::vector<String>{L"BGColor=ffffff", L"Menu=True"}));
}

TEST(ControlPersistence, NewControlSavesOnlyWhatDiffers) {
    Registry registry(std::string("/srv/charts/"));
    ControlRig rig(false);
    rig->InitProperties();
    JournalBag bag;
    rig->WriteProperties(bag);
    EXPECT_EQ(bag.journal, prefixed(L"write ", keys));
    // The background colour of a new control is "", which differs from "ffffff".
    ASSERT_EQ(bag.inner.entries().size(), 1u);
    EXPECT_EQ(bag.inner.entries()[0], (MemoryPropertyBag::Entry{L"BGColor", Variant(L"")}));
    ControlRig loaded(false);
    loaded->ReadProperties(bag.inner);
    EXPECT_EQ(loaded->get_BGColor(), L"");
}

// Every key away from its default goes through the form file and comes back (keys at their
// defaults are left out: NewControlSavesOnlyWhatDiffers).
TEST(ControlPersistence, FormFileRoundTripAwayFromDefaults) {
    Registry registry(std::string("/srv/charts/"));
    test::TempFile formFile("form.plf", "");
    {
        ControlRig rig(false);
        rig->InitProperties();
        rig->put_Enabled(false);
        rig->put_Border(enumBorderStyle::Single_Line);
        rig->put_ChartType(enumChartNames::pie3d);
        rig.container.resize(401.5f, 199);
        rig->put_ChartPath(L"/elsewhere/");
        rig->put_setDataURL(L"/data/chart.xml");
        rig->put_Debugger(true);
        rig->put_setDataXML(L"<chart caption='x'></chart>");
        rig->put_renderedFrom(L"url");
        rig->put_BGColor(L"00ff00");
        rig->put_Menu(false);
        FilePropertyBag form(formFile.path());
        rig->WriteProperties(form.addControl(L"Plotara1"));
        EXPECT_EQ(form.control(L"Plotara1").entries().size(), keys.size());
        form.save();
    }
    FilePropertyBag form = FilePropertyBag::load(formFile.path());
    ControlRig rig(false);
    rig->ReadProperties(form.control(L"Plotara1"));
    EXPECT_FALSE(rig->get_Enabled());
    EXPECT_EQ(rig->get_Border(), enumBorderStyle::Single_Line);
    EXPECT_EQ(rig.container.borderStyle(), 1);
    EXPECT_EQ(rig.container.appearance(), 0);
    EXPECT_EQ(rig->get_ChartType(), enumChartNames::pie3d);
    EXPECT_EQ(rig.container.scaleWidth(), 401.5f);
    EXPECT_EQ(rig.container.scaleHeight(), 199);
    EXPECT_EQ(rig->get_ChartPath(), L"/elsewhere/");
    EXPECT_EQ(rig->get_setDataURL(), L"/data/chart.xml");
    EXPECT_TRUE(rig->get_Debugger());
    EXPECT_EQ(rig->get_setDataXML(), L"<chart caption='x'></chart>");
    EXPECT_EQ(rig->get_renderedFrom(), L"url");
    EXPECT_EQ(rig->get_BGColor(), L"00ff00");
    EXPECT_FALSE(rig->get_Menu());
    EXPECT_FALSE(rig.host->menu());
}

TEST(ControlPersistence, FormLoadedWhereTheRegistryDiffers) {
    test::TempFile formFile("moved.plf", "");
    {
        Registry registry(std::string("C:\\\\Charts\\\\"));
        ControlRig rig(false);
        rig->InitProperties();
        EXPECT_EQ(rig->get_ChartPath(), L"C:\\Charts\\");
        rig->put_setDataURL(L"C:\\Charts\\"); // equal to the folder, but a data URL: stored
        FilePropertyBag form(formFile.path());
        rig->WriteProperties(form.addControl(L"Plotara1"));
        EXPECT_FALSE(form.control(L"Plotara1").contains(L"ChartPath"));
        form.save();
    }
    Registry registry(std::string("/usr/share/plotara/charts"));
    ControlRig rig(false);
    FilePropertyBag form = FilePropertyBag::load(formFile.path());
    rig->ReadProperties(form.control(L"Plotara1"));
    EXPECT_EQ(rig->get_ChartPath(), L"/usr/share/plotara/charts");
    EXPECT_EQ(rig->get_setDataURL(), L"C:\\Charts\\");
}

TEST(ControlPersistence, MisspeltControlNameFailsInsteadOfLoadingDefaults) {
    test::TempFile formFile("named.plf", "");
    {
        ControlRig rig(false);
        rig->put_ChartType(enumChartNames::pie3d);
        FilePropertyBag form(formFile.path());
        rig->WriteProperties(form.addControl(L"SalesChart"));
        form.save();
    }
    FilePropertyBag form = FilePropertyBag::load(formFile.path());
    const auto error = ErrorTrap::capture([&] { form.control(L"SaelsChart"); });
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->number(), 5);
    EXPECT_NE(error->description().find(L"'SaelsChart'"), String::npos);
    EXPECT_EQ(form.controlNames(), std::vector<String>{L"SalesChart"}) << "nothing was created";

    ControlRig rig(false);
    MemoryPropertyBag* found = form.find(L"saleschart");
    ASSERT_NE(found, nullptr);
    rig->ReadProperties(*found);
    EXPECT_EQ(rig->get_ChartType(), enumChartNames::pie3d);
}

TEST(ControlPersistence, MissingRegistryValueMakesTheFolderEmpty) {
    Registry registry(std::nullopt);
    EXPECT_EQ(GetDefaultChartsPath(), L"");
    ControlRig rig(false);
    rig->InitProperties();
    EXPECT_EQ(rig->get_ChartPath(), L"");
    MemoryPropertyBag bag;
    rig->WriteProperties(bag);
    EXPECT_FALSE(bag.contains(L"ChartPath"));
    rig->put_ChartPath(L"/x");
    rig->WriteProperties(bag);
    EXPECT_EQ(bag.ReadProperty(L"ChartPath", Variant()), Variant(L"/x"));
}

TEST(ControlPersistence, RunModeLoadRendersTheSavedXmlWithTheDataObjectReady) {
    Registry registry(std::string("/charts"));
    MemoryPropertyBag bag;
    bag.set(L"ExternalXML", Variant(L"<chart><set value='1'/></chart>"));
    bag.set(L"ChartType", Variant(Long{3}));
    ControlRig rig(true);
    rig->ReadProperties(bag);
    EXPECT_EQ(rig->get_Data()->get_externalXML(), L"<chart><set value='1'/></chart>");
    ASSERT_FALSE(rig.host->movies().empty());
    EXPECT_NE(rig.lastMovie().find(L"dataXML=<chart><set value='1'/></chart>"), String::npos)
        << toUtf8(rig.lastMovie());
    EXPECT_NE(rig.lastMovie().find(L"file:////charts\\"), String::npos);
}

TEST(ControlPersistence, FailuresReachTheHostAndKeepWhatWasDone) {
    Registry registry(std::string("/charts"));
    ControlRig rig(false);
    JournalBag bag;
    bag.failAt = L"Debugger";
    rig->put_ChartPath(L"/mine");
    EXPECT_EQ(errorOf([&] { rig->WriteProperties(bag); }), 7);
    EXPECT_EQ(bag.inner.ReadProperty(L"ChartPath", Variant()), Variant(L"/mine"));
    EXPECT_FALSE(bag.inner.contains(L"Debugger"));

    bag.failAt = L"";
    bag.inner.set(L"Border", Variant(L"not a number"));
    bag.inner.set(L"ChartType", Variant(Long{5}));
    EXPECT_EQ(errorOf([&] { rig->ReadProperties(bag); }), 13);
    EXPECT_EQ(rig->get_ChartType(), enumChartNames::column3D); // read after the failure: untouched

    // A writer failing while restoring: the error reaches the host, and the writers are no
    // longer suppressed afterwards (a design-time ChartPath write previews again).
    MemoryPropertyBag bad;
    bad.set(L"Border", Variant(Long{70000}));
    EXPECT_EQ(errorOf([&] { rig->ReadProperties(bad); }), 6);
    // A size outside a Single's range, of either sign, overflows too.
    for (const auto& [name, size] : {std::pair{L"ChartHeight", 1e39}, {L"ChartWidth", -1e39}}) {
        MemoryPropertyBag huge;
        huge.set(name, Variant(size));
        EXPECT_EQ(errorOf([&] { rig->ReadProperties(huge); }), 6) << size;
    }
    rig.clear();
    rig->put_renderedFrom(L"dtime");
    rig->put_ChartPath(L"/again");
    EXPECT_FALSE(rig.host->movies().empty());
}

} // namespace
} // namespace plotara
