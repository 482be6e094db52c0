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
        broker.setPortOpener([](const PortSettings& settings,
                                QString* error) -> std::unique_ptr<ExtensionSystem::CommunicationInterface> {
            if (settings.portName != "/dev/gone")
                return std::make_unique<FakeCommunication>(settings);
            *error = "no such device";
            return nullptr;
        });
    }

    PortBroker broker;
    QSignalSpy refused{&broker, &PortBroker::connectionRefused};
    QSignalSpy opened{&broker, &PortBroker::connectionOpened};
};

} // namespace

// How the refusal names the holder's window is up to the host.
TEST_F(PortBrokerTest, APortHeldByOneOwnerIsRefusedToAnother)
{
    ASSERT_NE(broker.registerConnection(port("/dev/ttyUSB0"), owner(1)), nullptr);
    EXPECT_EQ(broker.registerConnection(port("/dev/ttyUSB0"), owner(2)), nullptr);
    EXPECT_EQ(refused,
              QList<QList<QVariant>>({{"/dev/ttyUSB0", "The port /dev/ttyUSB0 is in use by another "
                                                       "sensor window. Disconnect it there first, or "
                                                       "pick another port."}}));
    EXPECT_EQ(broker.holderOf("/dev/ttyUSB0"), owner(1));
    broker.unregisterConnection(owner(1));
    EXPECT_EQ(broker.holderOf("/dev/ttyUSB0"), nullptr);
    EXPECT_NE(broker.registerConnection(port("/dev/ttyUSB0"), owner(2)), nullptr);
    EXPECT_EQ(opened, QList<QList<QVariant>>({{"/dev/ttyUSB0"}, {"/dev/ttyUSB0"}}));
}

// Asking again for its port keeps the owner's interface with the new settings; asking for another port
// releases the first. A released interface stays valid, closed, until its plug-in goes away.
TEST_F(PortBrokerTest, TheSameOwnerKeepsOrMovesItsInterfaceAndAReleasedOneOutlivesTheRelease)
{
    QPointer<ExtensionSystem::CommunicationInterface> first =
        broker.registerConnection(port("/dev/a"), owner(1));
    PortSettings slower = port("/dev/a");
    slower.vSetBaudrateDefault(1);
    EXPECT_EQ(broker.registerConnection(slower, owner(1)), first);
    EXPECT_EQ(opened.count(), 1);
    EXPECT_EQ(first->currentPortSettings().baudrateIndex, 1);
    broker.registerConnection(port("/dev/b"), owner(1));
    EXPECT_EQ(broker.holderOf("/dev/a"), nullptr);
    EXPECT_EQ(broker.portOf(owner(1)), "/dev/b");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());

    QPointer<FakeCommunication> held =
        static_cast<FakeCommunication*>(broker.registerConnection(port("/dev/a"), owner(2)));
    broker.unregisterConnection(owner(2));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(held.isNull());
    EXPECT_TRUE(held->closed);
    EXPECT_EQ(broker.holderOf("/dev/a"), nullptr);
    broker.unregisterPlugin(owner(2));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(held.isNull());
}

TEST_F(PortBrokerTest, PortsThatDoNotOpenYieldNothingAndSayWhy)
{
    EXPECT_EQ(broker.registerConnection(port("/dev/gone"), owner(1)), nullptr);
    EXPECT_EQ(broker.registerConnection(port(""), owner(1)), nullptr);
    EXPECT_EQ(refused.count(), 1);
    EXPECT_TRUE(refused.value(0).value(1).toString().contains("no such device"));
    EXPECT_TRUE(broker.portOf(owner(1)).isEmpty());
    PortBroker withoutTransport;
    QSignalSpy refusedToo(&withoutTransport, &PortBroker::connectionRefused);
    EXPECT_EQ(withoutTransport.registerConnection(port("/dev/ttyS0"), owner(1)), nullptr);
    EXPECT_EQ(refusedToo.count(), 1);
}
