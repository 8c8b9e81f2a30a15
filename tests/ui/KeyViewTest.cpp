// SPDX-License-Identifier: GPL-3.0-or-later
// Key caps: every picture the catalogue names exists and draws in the colour asked for, at 1x and
// 2x; captions and colours follow the cap's use.
#include "UiWorld.h"

#include "model/KeyProps.h"
#include "ui/KeyPictures.h"
#include "ui/KeyView.h"

#include <QImage>
#include <QPixmap>
#include <QtMath>

using namespace orvane;

class KeyViewTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyPictureOfTheCatalogueDrawsCrisplyInTheTint()
    {
        const QColor tint(200, 30, 60);
        int pictures = 0;
        for (const auto& row : model::keyProps()) {
            const auto path = ui::keyPicturePath(row.prop);
            QCOMPARE(path.has_value(), row.prop.image.has_value());
            if (!path)
                continue;
            ++pictures;
            const QSizeF size = ui::pictureSize(*path);
            QVERIFY2(!size.isEmpty(), qPrintable(*path));
            QVERIFY2(size.width() <= ui::KeyView::capSize - 8, qPrintable(*path));
            for (const qreal ratio : {1.0, 2.0}) {
                const QImage image = ui::templatePicture(*path, size, tint, ratio)
                                         .toImage()
                                         .convertToFormat(QImage::Format_ARGB32);
                // Rendered at the screen's density, not scaled up afterwards.
                QCOMPARE(image.width(), qCeil(size.width() * ratio));
                int ink = 0;
                for (int y = 0; y < image.height(); ++y)
                    for (int x = 0; x < image.width(); ++x) {
                        const QRgb pixel = image.pixel(x, y);
                        if (qAlpha(pixel) == 0)
                            continue;
                        ++ink;
                        // Every drawn pixel is the tint; only its coverage varies (a pixmap
                        // keeps premultiplied colour, so faint pixels round a little).
                        const int slack = 1 + 255 / qAlpha(pixel);
                        QVERIFY(qAbs(qRed(pixel) - tint.red()) <= slack);
                        QVERIFY(qAbs(qGreen(pixel) - tint.green()) <= slack);
                        QVERIFY(qAbs(qBlue(pixel) - tint.blue()) <= slack);
                    }
                // Recognisable: a fair share of the square is ink, and not all of it.
                const int area = image.width() * image.height();
                QVERIFY2(ink > area / 12 && ink < area * 9 / 10, qPrintable(*path));
            }
        }
        QCOMPARE(pictures, 18);
    }

    void symbolsOfTheInterfaceExist()
    {
        for (const char* name : {"macwindow.on.rectangle", "macwindow.badge.plus", "command.square",
                                 "command.square.fill"})
            QVERIFY2(!ui::pictureSize(ui::symbolPath(name)).isEmpty(), name);
    }

    void captionOnlyForKeysWithAPicture()
    {
        struct Case {
            model::CustomKey key;
            bool showName;
            bool caption;
        };
        for (const Case& c :
             {Case{model::CustomKey::f1, true, false}, Case{model::CustomKey::f1, false, false},
              Case{model::CustomKey::soundUp, true, true},
              Case{model::CustomKey::soundUp, false, false},
              Case{model::CustomKey::focus, true, true}}) {
            ui::KeyView view(c.key, false, c.showName);
            QCOMPARE(view.showsCaption(), c.caption);
            QCOMPARE(view.picturePath().has_value(), model::keyProp(c.key).image.has_value());
            // The caption widens the cap's space; a cap alone is 36 points plus padding.
            QCOMPARE(view.sizeHint().width() > 44, c.caption);
        }
    }

    void highlightedCapsUseTheLinkColour()
    {
        ui::KeyView cell(model::CustomKey::f5, true, true);
        ui::KeyView column(model::CustomKey::f5, false, true);
        QCOMPARE(cell.color(), cell.palette().color(QPalette::Link));
        QCOMPARE(column.color(), column.palette().color(QPalette::WindowText));
        QVERIFY(cell.color() != column.color());
    }

    void theCapIsDrawnInItsColour()
    {
        ui::KeyView view(model::CustomKey::soundMute, true, false);
        view.resize(view.sizeHint());
        const QImage image = view.grab().toImage();
        const QColor link = view.color();
        // The outline's left edge, halfway down the cap.
        const QColor edge = image.pixelColor(ui::KeyView::padding + 1, image.height() / 2);
        QCOMPARE(edge.rgb(), link.rgb());
    }
};

ORVANE_UI_TEST_MAIN(KeyViewTest)
#include "KeyViewTest.moc"
