// "Installer Acrobat Reader": the installer on CD-ROM n° 1 started through the desktop opener.
#include "core/config/viewerinstall.h"
#include "core/platform/platformerror.h"
#include "fakes/fakeplatform.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ferlin;

namespace {

const QString LineBreak = QStringLiteral("\r\n");
const QString Drive = QStringLiteral("/dev/sr0");
const QString PlaceDisc = QStringLiteral("Placer Le CD-ROM Ferlin n° 1 dans le lecteur /dev/sr0");
const QString WrongDisc = QStringLiteral("Le CD n'est pas le bon.") + LineBreak +
                          QStringLiteral("Mettre le CD n° 1 dans le lecteur /dev/sr0");

// A CD-ROM drive holding a disc folder labelled FERLIN4_1.
struct ViewerInstall : public ::testing::Test {
    FakePlatform fakes;
    QTemporaryDir dir;
    const QString discRoot = dir.filePath(QStringLiteral("disc1/"));

    ViewerInstall()
    {
        fakes.drives.addDrive(Drive,
                              {DriveType::CdRom, QStringLiteral("FERLIN4_1"), discRoot, 0, true});
    }
    QString putFile(const QString &relative)
    {
        const QString path = discRoot + relative;
        QDir().mkpath(path.section(u'/', 0, -2));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return path;
    }
    void install(const QString &drive = Drive) { InstallPdfViewer(drive, fakes.platform()); }
    QStringList texts() const
    {
        QStringList out;
        for (const RecordedMessage &m : fakes.messageBox.messages())
            out << m.text;
        return out;
    }
};

TEST_F(ViewerInstall, StartsTheInstallerOfDisc1WhateverTheCaseOfItsName)
{
    const QString installer = putFile(QStringLiteral("ACROBAT4/RS40FRE.EXE"));
    fakes.drives.setLabel(Drive, QStringLiteral("AUTRE"));
    fakes.messageBox.pushAnswer(MessageAnswer::Ok);
    fakes.messageBox.pushResponder([&](const RecordedMessage &) {
        fakes.drives.setLabel(Drive, QStringLiteral("FERLIN4_1"));
        return MessageAnswer::Ok;
    });
    install();
    EXPECT_EQ(texts(), (QStringList{PlaceDisc, WrongDisc}));
    EXPECT_EQ(fakes.messageBox.lastMessage().buttons, MessageButtons::OkCancel);
    EXPECT_EQ(fakes.launcher.starts(),
              (QList<FakeLauncher::Start>{{QStringLiteral("xdg-open"), {installer}}}));
}

TEST_F(ViewerInstall, NoDriveOrCancelEndsWithoutStarting)
{
    install(QStringLiteral("  "));
    EXPECT_EQ(fakes.messageBox.lastMessage(),
              (RecordedMessage{MessageIcon::None,
                               MessageButtons::Ok,
                               {},
                               QStringLiteral("Pas de lecteur de CD défini.") + LineBreak +
                                   QStringLiteral("Configurer Ferlin.")}));

    putFile(QStringLiteral("Acrobat4/Rs40fre.exe"));
    fakes.messageBox.clear();
    fakes.messageBox.pushAnswer(MessageAnswer::Cancel);
    install();
    EXPECT_EQ(texts(), QStringList{PlaceDisc});
    EXPECT_EQ(fakes.drives.labelReads(Drive), 0);

    // The wrong disc is asked for again until the user gives up.
    fakes.messageBox.clear();
    fakes.drives.setLabel(Drive, QStringLiteral("FERLIN4_2"));
    fakes.messageBox.pushAnswer(MessageAnswer::Ok);
    fakes.messageBox.pushAnswer(MessageAnswer::Ok);
    fakes.messageBox.pushAnswer(MessageAnswer::Cancel);
    install();
    EXPECT_EQ(texts(), (QStringList{PlaceDisc, WrongDisc, WrongDisc}));
    EXPECT_TRUE(fakes.launcher.starts().isEmpty());
}

TEST_F(ViewerInstall, ADriveNotReadyIsAskedForAgainWithAWayOut)
{
    putFile(QStringLiteral("Acrobat4/Rs40fre.exe"));
    fakes.drives.setReady(Drive, false);
    const QString notReady = QStringLiteral(" Erreur 71   Le disque n'est pas prêt.") + LineBreak +
                             QStringLiteral("Mettez le CD-ROM n° 1 dans le lecteur /dev/sr0 et "
                                            "attendez son démarrage");
    fakes.messageBox.pushAnswer(MessageAnswer::Ok);
    fakes.messageBox.pushAnswer(MessageAnswer::Ok);
    fakes.messageBox.pushResponder([&](const RecordedMessage &) {
        fakes.drives.setReady(Drive, true);
        return MessageAnswer::Ok;
    });
    install();
    EXPECT_EQ(texts(), (QStringList{PlaceDisc, notReady, notReady}));
    EXPECT_EQ(fakes.launcher.starts().size(), 1);

    fakes.messageBox.clear();
    fakes.drives.setReady(Drive, false);
    fakes.messageBox.pushAnswer(MessageAnswer::Ok);
    fakes.messageBox.pushAnswer(MessageAnswer::Cancel);
    install();
    EXPECT_EQ(texts(), (QStringList{PlaceDisc, notReady}));
    EXPECT_EQ(fakes.launcher.starts().size(), 1);
}

TEST_F(ViewerInstall, FailuresAreToldByNumber)
{
    putFile(QStringLiteral("Acrobat4/autre.exe"));
    install();
    EXPECT_EQ(fakes.messageBox.lastMessage(),
              (RecordedMessage{MessageIcon::None,
                               MessageButtons::Ok,
                               {},
                               QStringLiteral(" Erreur 53") + LineBreak +
                                   QStringLiteral("Fichier Acrobat4\\Rs40fre.exe non trouvé")}));
    EXPECT_TRUE(fakes.launcher.starts().isEmpty());

    // The opener missing is not the installer missing.
    putFile(QStringLiteral("Acrobat4/Rs40fre.exe"));
    fakes.launcher.setFailure(PlatformError(PlatformErrorCode::FileNotFound));
    install();
    EXPECT_EQ(fakes.messageBox.lastMessage(),
              (RecordedMessage{MessageIcon::None, MessageButtons::Ok, QStringLiteral("Erreur"),
                               QStringLiteral("Erreur 53") + LineBreak +
                                   QStringLiteral("Fichier introuvable")}));
    fakes.launcher.setFailure(PlatformError(PlatformErrorCode::BadPath));
    install();
    EXPECT_EQ(fakes.messageBox.lastMessage(),
              (RecordedMessage{MessageIcon::None, MessageButtons::Ok, QStringLiteral("Erreur"),
                               QStringLiteral("Unité ou chemin de dossier invalide")}));
}

} // namespace
