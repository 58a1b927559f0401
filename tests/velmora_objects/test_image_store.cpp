#include "common/helpers.h"
#include "containers/sortvector.h"
#include "velmora_objects/image_data.h"
#include "velmora_objects/velmora_types.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

using TestUtil::fromHex;
using Velmora::ImageData;

TEST(ImageData, BytesCarryTheirDigest)
{
    ImageData image;
    image.setData("abc");
    EXPECT_EQ(image.getData(), QByteArray("abc"));
    EXPECT_EQ(image.getMd5(), fromHex("900150983cd24fb0d6963f7d28e17f72"));
    EXPECT_EQ(image.getOrientation(), 0);

    image.setData(QByteArray());
    EXPECT_EQ(image.getMd5(), fromHex("d41d8cd98f00b204e9800998ecf8427e"));
}

TEST(ImageData, LoadsFilesAndLeavesUnreadableOnesEmpty)
{
    QTemporaryDir dir;
    const QByteArray bytes = fromHex("89504e47 0d0a1a0a 00 ff 10");
    ASSERT_TRUE(TestUtil::writeFile(dir.filePath("a.png"), bytes));

    ImageData image;
    image.loadFromFile(dir.filePath("a.png"));
    EXPECT_EQ(image.getData(), bytes);
    EXPECT_EQ(image.getMd5(), ImageData::digestOf(bytes));
    EXPECT_EQ(image.getMd5().size(), 16);

    image.loadFromFile(dir.filePath("missing.png"));
    EXPECT_TRUE(image.getData().isEmpty());
    EXPECT_TRUE(image.getMd5().isEmpty());
    image.loadFromFile(dir.path()); // a folder does not read as a file either
    EXPECT_TRUE(image.getMd5().isEmpty());
}

TEST(ImageData, CloneCopiesIdBytesDigestAndOrientation)
{
    sortvector<ImageData> store(64, 256);
    smart_ptr<ImageData> image(new ImageData);
    image->setData("picture");
    image->setOrientation(Velmora::Orientation_PORTRAIT);
    ASSERT_EQ(store.insert(image, 7), 7u);

    std::unique_ptr<ImageData> copy(store[7].clone());
    EXPECT_EQ(copy->getId(), 7u);
    EXPECT_EQ(copy->getData(), QByteArray("picture"));
    EXPECT_EQ(copy->getMd5(), ImageData::digestOf("picture"));
    EXPECT_EQ(copy->getOrientation(), 2);
    EXPECT_FALSE(copy->isLinked());
}
