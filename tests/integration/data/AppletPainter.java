// Paints an applet class of the "JAVA" device into an image and writes it as a binary PPM,
// without a display: the class is allocated without running the Applet constructor (which
// refuses to run headless), and its paint method draws on white paper.
// Usage: java -Djava.awt.headless=true AppletPainter CLASS WIDTH HEIGHT OUT.ppm
import java.awt.Color;
import java.awt.Graphics;
import java.awt.Graphics2D;
import java.awt.image.BufferedImage;
import java.io.BufferedOutputStream;
import java.io.FileOutputStream;
import java.io.OutputStream;
import java.lang.reflect.Field;
import java.nio.charset.StandardCharsets;

public class AppletPainter {
  public static void main(String[] args) throws Exception {
    Class<?> applet = Class.forName(args[0]);
    int width = Integer.parseInt(args[1]);
    int height = Integer.parseInt(args[2]);
    Field field = Class.forName("sun.misc.Unsafe").getDeclaredField("theUnsafe");
    field.setAccessible(true);
    Object unsafe = field.get(null);
    Object instance =
        unsafe.getClass().getMethod("allocateInstance", Class.class).invoke(unsafe, applet);

    BufferedImage image = new BufferedImage(width, height, BufferedImage.TYPE_INT_RGB);
    Graphics2D g = image.createGraphics();
    g.setColor(Color.WHITE);
    g.fillRect(0, 0, width, height);
    applet.getMethod("paint", Graphics.class).invoke(instance, g);
    g.dispose();

    try (OutputStream out = new BufferedOutputStream(new FileOutputStream(args[3]))) {
      out.write(("P6\n" + width + " " + height + "\n255\n").getBytes(StandardCharsets.US_ASCII));
      for (int y = 0; y < height; y++) {
        for (int x = 0; x < width; x++) {
          int rgb = image.getRGB(x, y);
          out.write(rgb >> 16 & 255);
          out.write(rgb >> 8 & 255);
          out.write(rgb & 255);
        }
      }
    }
  }
}
