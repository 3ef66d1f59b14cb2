#include "CoordinatorTestSupport.h"

#include "fixtures/LocalHttpServer.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QNetworkAccessManager>
#include <QRegularExpression>

// Covers downloaded from a local HTTP server, cached in the shared folder.
namespace {

using Response = LocalHttpServer::Response;

QByteArray jpeg(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 90);
    return bytes;
}

// Resident memory of this process, in bytes.
qint64 residentBytes()
{
    QFile status("/proc/self/statm");
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = status.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() * 4096 : 0;
}

class Artwork : public CoordinatorTest {
protected:
    Artwork() { QDir().mkpath(filesDirectory()); }

    // Waits for network I/O (not for the clock): runs the event loop until the
    // condition holds, bounded by a real-time guard.
    bool waitFor(const std::function<bool()> &condition, int milliseconds = 10000)
    {
        for (QDeadlineTimer guard(milliseconds); !condition();) {
            if (guard.hasExpired())
                return false;
            clock.runUntilIdle();
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
        }
        return true;
    }
    // Lets a finished exchange settle where nothing observable happens.
    void settle()
    {
        waitFor([] { return false; }, 300);
    }

    QStringList covers() const { return QDir(filesDirectory()).entryList({"*.jpg"}, QDir::Files); }
    QString nameOf(const QString &path) const
    {
        return PlaybackCoordinator::artworkFileName(server.url(path));
    }
    void show(const QString &id, const QString &path)
    {
        coordinator->publish(playing(id, true, 10, 60, server.url(path)), false);
    }
    bool showing(const QString &path) const { return coordinator->artworkID() == nameOf(path); }

    LocalHttpServer server;
    const QByteArray cover = jpeg(colourfulCover());
};

TEST_F(Artwork, FileNamesAreTheHexDigestOfTheURL)
{
    const QString name
        = PlaybackCoordinator::artworkFileName(QUrl("https://i.scdn.co/image/ab67616d0000b273"));
    EXPECT_EQ(name.size(), 68);
    EXPECT_TRUE(QRegularExpression("^[0-9a-f]{64}\\.jpg$").match(name).hasMatch());
    EXPECT_EQ(name, PlaybackCoordinator::artworkFileName(QUrl("https://i.scdn.co/image/ab67616d0000b273")));
}

TEST_F(Artwork, ADownloadIsStoredAloneAndShown)
{
    QFile(filesDirectory() + "/" + nameOf("/old")).open(QIODevice::WriteOnly);
    QFile(filesDirectory() + "/notes.txt").open(QIODevice::WriteOnly);
    server.route("/a", {200, cover});
    show("a", "/a");
    ASSERT_TRUE(waitFor([&] { return showing("/a"); }));
    EXPECT_FALSE(coordinator->artwork().isNull());
    EXPECT_TRUE(coordinator->artworkPalette());
    EXPECT_EQ(coordinator->snapshot().artworkFile, nameOf("/a"));
    EXPECT_EQ(stored().artworkFile, nameOf("/a"));
    EXPECT_EQ(stored().artworkPalette, coordinator->artworkPalette());
    EXPECT_EQ(covers(), QStringList({nameOf("/a")}));
    EXPECT_TRUE(QFile::exists(filesDirectory() + "/notes.txt"));
    EXPECT_TRUE(widgets.reloads.contains(PlaybackCoordinator::nowPlayingWidgetKind));
    EXPECT_EQ(coordinator->aura().key, nameOf("/a"));

    // The next track of the same album: nothing to do.
    show("b", "/a");
    settle();
    EXPECT_EQ(server.hits("/a"), 1);
    EXPECT_TRUE(showing("/a"));
    EXPECT_EQ(coordinator->snapshot().artworkFile, nameOf("/a"));
}

TEST_F(Artwork, ACoverInTheCacheIsUsedWithoutTheNetwork)
{
    QFile file(filesDirectory() + "/" + nameOf("/a"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(cover);
    file.close();
    show("a", "/a");
    EXPECT_TRUE(showing("/a"));
    EXPECT_TRUE(coordinator->artworkPalette());
    EXPECT_EQ(stored().artworkFile, nameOf("/a"));
    settle();
    EXPECT_EQ(server.totalHits(), 0);
    EXPECT_FALSE(widgets.reloads.contains(PlaybackCoordinator::nowPlayingWidgetKind));
}

TEST_F(Artwork, RefusedAnswersStoreNothingAndWaitBeforeTrying)
{
    struct Case {
        const char *name;
        Response response;
    };
    for (const Case &c : {Case{"204", {204, {}}}, Case{"304", {304, {}}}, Case{"404", {404, "gone"}},
             Case{"500", {500, "oops"}}, Case{"not an image", {200, "<html></html>", "text/html"}},
             Case{"5,000,000 bytes", {200, cover + QByteArray(5'000'000 - cover.size(), '\0')}},
             Case{"5,000,000 bytes, no length",
                 {200, cover + QByteArray(5'000'000 - cover.size(), '\0'), "image/jpeg", false}}}) {
        SCOPED_TRACE(c.name);
        make(container());
        const QString path = QStringLiteral("/%1").arg(server.totalHits());
        server.route(path, c.response);
        show("a", path);
        ASSERT_TRUE(waitFor([&] { return server.hits(path) == 1; }));
        settle();
        EXPECT_TRUE(covers().isEmpty());
        EXPECT_FALSE(coordinator->artworkID());

        clock.advance(29);
        show("b", path);
        settle();
        EXPECT_EQ(server.hits(path), 1);
        clock.advance(1);
        EXPECT_EQ(server.hits(path), 1); // time alone does not retry
        show("c", path);
        EXPECT_TRUE(waitFor([&] { return server.hits(path) == 2; }));
        settle();
    }
}

TEST_F(Artwork, TheLargestAcceptedBodyIsOneByteUnderTheLimit)
{
    server.route("/big", {200, cover + QByteArray(4'999'999 - cover.size(), '\0'), "image/jpeg", false});
    show("a", "/big");
    EXPECT_TRUE(waitFor([&] { return showing("/big"); }));
}

TEST_F(Artwork, APreviousCoverStaysForTheGraceOnly)
{
    server.route("/a", {200, cover});
    show("a", "/a");
    ASSERT_TRUE(waitFor([&] { return showing("/a"); }));

    server.route("/b", {200, jpeg(colourfulCover(32)), "image/jpeg", true, false, true});
    show("b", "/b");
    ASSERT_TRUE(waitFor([&] { return server.heldCount() == 1; }));
    clock.advance(1.1);
    EXPECT_TRUE(showing("/a"));
    clock.advance(0.1);
    EXPECT_FALSE(coordinator->artworkID());
    EXPECT_TRUE(coordinator->artwork().isNull());
    server.release();
    EXPECT_TRUE(waitFor([&] { return showing("/b"); }));
    EXPECT_EQ(covers(), QStringList({nameOf("/b")}));
}

TEST_F(Artwork, ACancelledDownloadLeavesTheCoverAlone)
{
    server.route("/a", {200, cover});
    show("a", "/a");
    ASSERT_TRUE(waitFor([&] { return showing("/a"); }));
    Response failing;
    failing.held = true;
    failing.drop = true;
    server.route("/b", failing);
    show("b", "/b");
    ASSERT_TRUE(waitFor([&] { return server.heldCount() == 1; }));
    show("a", "/a"); // back to a cover in the cache: the download is cancelled
    EXPECT_TRUE(showing("/a"));
    server.release();
    settle();
    EXPECT_TRUE(showing("/a"));
    clock.advance(2);
    EXPECT_TRUE(showing("/a"));
}

TEST_F(Artwork, ANetworkFailureClearsAtOnceAndNoCoverClearsAtOnce)
{
    server.route("/a", {200, cover});
    show("a", "/a");
    ASSERT_TRUE(waitFor([&] { return showing("/a"); }));
    coordinator->publish(playing("b", true, 0, 60, QUrl("http://127.0.0.1:1/closed")), false);
    EXPECT_TRUE(waitFor([&] { return !coordinator->artworkID(); }));

    show("c", "/a");
    ASSERT_TRUE(showing("/a"));
    coordinator->publish(playing("d"), false);
    EXPECT_FALSE(coordinator->artworkID());
}

TEST_F(Artwork, AnEndlessBodyIsCutOff)
{
    server.route("/endless", {200, {}, "image/jpeg", false, true});
    const qint64 before = residentBytes();
    show("a", "/endless");
    ASSERT_TRUE(waitFor([&] { return server.bodyBytesSent() > 5'000'000; }));
    // The client hangs up once it has taken the limit, however slowly it takes it.
    ASSERT_TRUE(waitFor([&] { return server.connectionsEnded() == 1; }));
    settle();
    const qint64 sent = server.bodyBytesSent();
    settle();
    EXPECT_LT(server.bodyBytesSent() - sent, 2'000'000);
#ifndef __SANITIZE_ADDRESS__
    // AddressSanitizer holds freed memory in quarantine, so the figure means nothing there.
    EXPECT_LT(residentBytes() - before, 64'000'000);
#else
    (void)before;
#endif
    EXPECT_TRUE(covers().isEmpty());
    EXPECT_FALSE(coordinator->artworkID());
}

} // namespace

namespace {

// A server that either promises a whole body and hangs up halfway through it,
// or never answers, counting the clients that hang up on it.
class RawServer {
public:
    explicit RawServer(std::optional<QByteArray> body)
        : m_body(std::move(body))
    {
        m_server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                QObject::connect(socket, &QTcpSocket::disconnected, socket, [this, socket] {
                    ++hangUps;
                    socket->deleteLater();
                });
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    if (!socket->readAll().contains("\r\n\r\n"))
                        return;
                    ++hits;
                    if (!m_body)
                        return;
                    socket->write("HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\nContent-Length: "
                        + QByteArray::number(m_body->size()) + "\r\n\r\n" + m_body->left(m_body->size() / 2));
                    socket->flush();
                    socket->disconnectFromHost();
                });
            }
        });
    }
    QUrl url() const { return QUrl(QStringLiteral("http://127.0.0.1:%1/raw").arg(m_server.serverPort())); }
    int hits = 0;
    int hangUps = 0;

private:
    std::optional<QByteArray> m_body;
    QTcpServer m_server;
};

TEST_F(Artwork, ABodyCutOffMidwayIsAFailedRequest)
{
    server.route("/a", {200, cover});
    show("a", "/a");
    ASSERT_TRUE(waitFor([&] { return showing("/a"); }));

    RawServer cut(jpeg(colourfulCover(256)));
    coordinator->publish(playing("b", true, 0, 60, cut.url()), false);
    ASSERT_TRUE(waitFor([&] { return cut.hits == 1 && !coordinator->artworkID(); }));
    settle();
    EXPECT_FALSE(coordinator->artworkID());
    EXPECT_TRUE(coordinator->artwork().isNull());
    EXPECT_FALSE(coordinator->snapshot().artworkFile);
    EXPECT_EQ(covers(), QStringList({nameOf("/a")}));
}

TEST_F(Artwork, ACancelledDownloadHangsUp)
{
    struct Case {
        const char *name;
        std::function<void(PlaybackCoordinator &)> cancel;
    };
    for (const Case &c : {Case{"another cover",
                              [](PlaybackCoordinator &coordinator) {
                                  coordinator.publish(
                                      playing("b", true, 0, 60, QUrl("http://127.0.0.1:1/b")), false);
                              }},
             Case{"no cover",
                 [](PlaybackCoordinator &coordinator) { coordinator.publish(playing("b"), false); }},
             Case{"disconnecting", [](PlaybackCoordinator &coordinator) { coordinator.setDisconnected(); }},
             Case{"shutting down", [](PlaybackCoordinator &coordinator) { coordinator.flush(); }},
             Case{"going away", [this](PlaybackCoordinator &) { coordinator.reset(); }}}) {
        SCOPED_TRACE(c.name);
        make(container());
        RawServer silent(std::nullopt);
        coordinator->publish(playing("a", true, 0, 60, silent.url()), false);
        ASSERT_TRUE(waitFor([&] { return silent.hits == 1; }));
        c.cancel(*coordinator);
        EXPECT_TRUE(waitFor([&] { return silent.hangUps == 1; }, 3000));
        if (coordinator) {
            EXPECT_FALSE(coordinator->artworkID());
        }
    }
}

TEST_F(Artwork, OnlyAnHTTPAnswerCanBringACover)
{
    server.route("/a", {200, cover});
    show("a", "/a");
    ASSERT_TRUE(waitFor([&] { return showing("/a"); }));

    // Read fine, but no HTTP answer: nothing changes until the grace ends.
    const QUrl inline_("data:image/jpeg;base64," + QString::fromLatin1(jpeg(colourfulCover(32)).toBase64()));
    coordinator->publish(playing("b", true, 0, 60, inline_), false);
    settle();
    EXPECT_TRUE(showing("/a"));
    EXPECT_EQ(covers(), QStringList({nameOf("/a")}));
    clock.advance(1.2);
    EXPECT_FALSE(coordinator->artworkID());

    // A local file that is not there fails like an unreachable host: cleared at once.
    show("c", "/a");
    ASSERT_TRUE(showing("/a"));
    coordinator->publish(playing("d", true, 0, 60, QUrl::fromLocalFile(dir.filePath("missing.jpg"))), false);
    EXPECT_TRUE(waitFor([&] { return !coordinator->artworkID(); }, 2000));
}

} // namespace
