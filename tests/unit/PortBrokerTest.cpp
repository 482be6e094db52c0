#include <FakeCommunication.h>

#include <extensionsystem/PortBroker.h>

#include <QCoreApplication>
#include <QPointer>
#include <QSignalSpy>

#include <gtest/gtest.h>

using ExtensionSystem::PluginInterface;
using ExtensionSystem::PortBroker;
using ExtensionSystem::PortSettings;

namespace {

// Owners are only compared by address; the broker never calls them.
PluginInterface* owner(int n)
{
    return reinterpret_cast<PluginInterface*>(0x1000 * n);
}

PortSettings port(const QString& name)
{
    PortSettings settings;
    settings.portName = name;
    return settings;
}

class PortBrokerTest : public ::testing::Test
{
protected:
    PortBrokerTest()
    {
        broker.setPortOpener(
            [this](const PortSettings& settings,
                   QString* error) -> std::unique_ptr<ExtensionSystem::CommunicationInterface> {
                ++opened;
                if (settings.portName == "/dev/gone") {
                    *error = "no such device";
                    return nullptr;
                }
                return std::make_unique<FakeCommunication>(settings);
            });
    }

    PortBroker broker;
    int opened = 0;
};

} // namespace

TEST_F(PortBrokerTest, APortHeldByOneOwnerIsRefusedToAnother)
{
    QSignalSpy refused(&broker, &PortBroker::connectionRefused);
    QSignalSpy opened(&broker, &PortBroker::connectionOpened);
    auto* first = broker.registerConnection(port("/dev/ttyUSB0"), owner(1));
    ASSERT_NE(first, nullptr);
    ASSERT_EQ(opened.count(), 1);
    EXPECT_EQ(opened.at(0).at(0).toString(), "/dev/ttyUSB0");
    EXPECT_EQ(broker.registerConnection(port("/dev/ttyUSB0"), owner(2)), nullptr);
    ASSERT_EQ(refused.count(), 1);
    EXPECT_EQ(refused.at(0).at(1).toString(), "The port /dev/ttyUSB0 is in use by another sensor window. "
                                              "Disconnect it there first, or pick another port.");
    EXPECT_EQ(broker.holderOf("/dev/ttyUSB0"), owner(1));
    // The refusal names the holder's window when the host can tell it.
    PluginInterface* named = nullptr;
    broker.setOwnerNamer([&named](PluginInterface* holder) {
        named = holder;
        return QString("RT5-350-M18 (/dev/ttyUSB0)");
    });
    EXPECT_EQ(broker.registerConnection(port("/dev/ttyUSB0"), owner(2)), nullptr);
    EXPECT_EQ(named, owner(1));
    ASSERT_EQ(refused.count(), 2);
    EXPECT_EQ(refused.at(1).at(1).toString(),
              "The port /dev/ttyUSB0 is in use by the window \"RT5-350-M18 (/dev/ttyUSB0)\". Disconnect it "
              "there first, or pick another port.");
    EXPECT_EQ(opened.count(), 1);
    broker.unregisterConnection(owner(1));
    EXPECT_EQ(broker.holderOf("/dev/ttyUSB0"), nullptr);
    EXPECT_NE(broker.registerConnection(port("/dev/ttyUSB0"), owner(2)), nullptr);
    EXPECT_EQ(opened.count(), 2);
}

// Asking again for its port keeps the owner's interface with the new
// settings; asking for another port releases the first.
TEST_F(PortBrokerTest, TheSameOwnerAskingAgainKeepsOrMovesItsInterface)
{
    QPointer<ExtensionSystem::CommunicationInterface> first =
        broker.registerConnection(port("/dev/a"), owner(1));
    PortSettings slower = port("/dev/a");
    slower.vSetBaudrateDefault(1);
    EXPECT_EQ(broker.registerConnection(slower, owner(1)), first);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(first->currentPortSettings().baudrateIndex, 1);
    broker.registerConnection(port("/dev/b"), owner(1));
    EXPECT_EQ(broker.holderOf("/dev/a"), nullptr);
    EXPECT_EQ(broker.portOf(owner(1)), "/dev/b");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
}

TEST_F(PortBrokerTest, AReleasedInterfaceOutlivesTheReleaseClosed)
{
    // A plug-in may keep its pointer after unregistering; it must stay valid
    // until the plug-in registers again or goes away.
    QPointer<FakeCommunication> held =
        static_cast<FakeCommunication*>(broker.registerConnection(port("/dev/a"), owner(1)));
    broker.unregisterConnection(owner(1));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(held.isNull());
    EXPECT_TRUE(held->closed);
    EXPECT_EQ(broker.holderOf("/dev/a"), nullptr);

    broker.unregisterPlugin(owner(1));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(held.isNull());
}

TEST_F(PortBrokerTest, PortsThatDoNotOpenYieldNothingAndSayWhy)
{
    QSignalSpy refused(&broker, &PortBroker::connectionRefused);
    EXPECT_EQ(broker.registerConnection(port("/dev/gone"), owner(1)), nullptr);
    EXPECT_EQ(broker.registerConnection(port(""), owner(1)), nullptr);
    ASSERT_EQ(refused.count(), 1);
    EXPECT_TRUE(refused.at(0).at(1).toString().contains("no such device"));
    EXPECT_TRUE(broker.portOf(owner(1)).isEmpty());

    PortBroker withoutTransport;
    QSignalSpy refusedToo(&withoutTransport, &PortBroker::connectionRefused);
    EXPECT_EQ(withoutTransport.registerConnection(port("/dev/ttyS0"), owner(1)), nullptr);
    EXPECT_EQ(refusedToo.count(), 1);
}
