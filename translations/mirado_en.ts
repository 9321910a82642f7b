<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>skin</name>
    <message>
        <source>Mirado视频图片加密播放器</source>
        <translation>Mirado Secure Media Player</translation>
    </message>
    <message>
        <source>Mirado 视频图片加密播放器</source>
        <translation>Mirado Secure Media Player</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>最小化</source>
        <translation>Minimize</translation>
    </message>
    <message>
        <source>最大化</source>
        <translation>Maximize</translation>
    </message>
    <message>
        <source>还原</source>
        <translation>Restore</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>播放列表</source>
        <translation>Playlist</translation>
    </message>
    <message>
        <source>添加文件到播放列表</source>
        <translation>Add files to the playlist</translation>
    </message>
    <message>
        <source>从播放列表删除</source>
        <translation>Remove from the playlist</translation>
    </message>
    <message>
        <source>清空播放列表</source>
        <translation>Clear the playlist</translation>
    </message>
    <message>
        <source>文件</source>
        <translation>File</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>上一曲</source>
        <translation>Previous</translation>
    </message>
    <message>
        <source>播放</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>下一曲</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>打开静音</source>
        <translation>Mute</translation>
    </message>
    <message>
        <source>静音</source>
        <translation>Mute</translation>
    </message>
    <message>
        <source>关闭静音</source>
        <translation>Unmute</translation>
    </message>
    <message>
        <source>全屏</source>
        <translation>Full screen</translation>
    </message>
    <message>
        <source>没有视频在播放</source>
        <translation>No video is playing</translation>
    </message>
    <message>
        <source>密码</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>请输入视频的播放密码:</source>
        <translation>Please enter the video's password:</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>加密</source>
        <translation>Encrypt</translation>
    </message>
    <message>
        <source>信息</source>
        <translation>About</translation>
    </message>
    <message>
        <source>选择要打包的文件或目录:</source>
        <translation>File or folder:</translation>
    </message>
    <message>
        <source>加密文件</source>
        <translation>One file</translation>
    </message>
    <message>
        <source>加密目录下所有文件(用相同的设置)</source>
        <translation>Every file in a folder (same settings)</translation>
    </message>
    <message>
        <source>打开...</source>
        <translation>Browse...</translation>
    </message>
    <message>
        <source>选择保存目录:</source>
        <translation>Save to folder:</translation>
    </message>
    <message>
        <source>播放密码: </source>
        <translation>Password: </translation>
    </message>
    <message>
        <source>容器格式: </source>
        <translation>Format: </translation>
    </message>
    <message>
        <source>兼容格式 (旧版播放器可播放)</source>
        <translation>Compatible (older players play it)</translation>
    </message>
    <message>
        <source>加密格式 (需要密码才能解开)</source>
        <translation>Encrypted (needs the password)</translation>
    </message>
    <message>
        <source>启用播放时水印</source>
        <translation>Show a watermark</translation>
    </message>
    <message>
        <source>输入水印内容: </source>
        <translation>Watermark: </translation>
    </message>
    <message>
        <source>水印颜色: </source>
        <translation>Color: </translation>
    </message>
    <message>
        <source>白</source>
        <translation>White</translation>
    </message>
    <message>
        <source>红</source>
        <translation>Red</translation>
    </message>
    <message>
        <source>黄</source>
        <translation>Yellow</translation>
    </message>
    <message>
        <source>绿</source>
        <translation>Green</translation>
    </message>
    <message>
        <source>青</source>
        <translation>Cyan</translation>
    </message>
    <message>
        <source>字体大小: </source>
        <translation>Font size: </translation>
    </message>
    <message>
        <source>1/20图像高度</source>
        <translation>1/20 of the height</translation>
    </message>
    <message>
        <source>1/15图像高度</source>
        <translation>1/15 of the height</translation>
    </message>
    <message>
        <source>1/10图像高度</source>
        <translation>1/10 of the height</translation>
    </message>
    <message>
        <source>水印位置: </source>
        <translation>Position: </translation>
    </message>
    <message>
        <source>左上方</source>
        <translation>Top left</translation>
    </message>
    <message>
        <source>右上方</source>
        <translation>Top right</translation>
    </message>
    <message>
        <source>左下方</source>
        <translation>Bottom left</translation>
    </message>
    <message>
        <source>右下方</source>
        <translation>Bottom right</translation>
    </message>
    <message>
        <source>请耐心等待处理结果，文件越大，要的时间越久。平均1GB文件因电脑配置需约几十秒不等.</source>
        <translation>Please wait for the result: the larger the file, the longer it takes. A 1 GB file takes some tens of seconds, depending on the computer.</translation>
    </message>
    <message>
        <source>执行加密</source>
        <translation>Encrypt</translation>
    </message>
    <message>
        <source>版本 0.1.0</source>
        <translation>Version 0.1.0</translation>
    </message>
    <message>
        <source>容器文件 (.pmpk)</source>
        <translation>Container files (.pmpk)</translation>
    </message>
    <message>
        <source>每个 .pmpk 容器保存一个经过加密的视频或图片文件，以及一条信息记录：原文件名和大小、用来核对密码的校验值，和可选的水印设置（文字、位置、颜色、字体大小）。密码由 6 至 16 位字母和数字组成，容器本身不保存密码。</source>
        <translation>Each .pmpk container holds one encrypted video or picture and an information record: the original file's name and size, a check value for the password, and optional watermark settings (text, position, color, font size). The password is 6 to 16 letters and digits; the container does not store it.</translation>
    </message>
    <message>
        <source>保护能做什么，不能做什么</source>
        <translation>What the protection can and cannot do</translation>
    </message>
    <message>
        <source>没有密码，容器文件无法播放、预览或打开；播放时，本程序会在图片和视频上显示加密时设置的水印。但这不是现代意义上的密码学加密：文件只是按重复的 16 字节密钥逐字节相加变换，了解原文件部分内容的人可以还原密钥和全部内容。它能挡住随手的查看，却挡不住有决心的攻击者；请不要用它保护真正的机密。</source>
        <translation>Without the password a container cannot be played, previewed or opened; when it plays, this program draws the watermark set at encryption over it. But this is not modern encryption: each byte is only added to a repeating 16-byte key, so someone who knows part of the original can recover the key and the whole file. It stops casual viewers, not a determined attacker: do not use it for real secrets.</translation>
    </message>
</context>
<context>
    <name>mirado</name>
    <message>
        <source>提示</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>请先添加视频文件</source>
        <translation>Please add a video file first.</translation>
    </message>
    <message>
        <source>无法打开加密视频。可能是密码错误，请确认密码后重试；也可能是文件已损坏。</source>
        <translation>Cannot open the protected video. The password may be wrong: check it and try again. Or the file may be damaged.</translation>
    </message>
    <message>
        <source>无法打开加密视频。它不是用密码加密的，或加密参数超出了播放器的限制。</source>
        <translation>Cannot open the protected video. It was not encrypted with a password, or its encryption settings exceed the player's limits.</translation>
    </message>
    <message>
        <source>无法播放该文件。</source>
        <translation>Cannot play this file.</translation>
    </message>
    <message>
        <source>无法显示该图片。</source>
        <translation>Cannot show this picture.</translation>
    </message>
    <message>
        <source>文件已损坏或被修改。</source>
        <translation>The file is damaged or has been changed.</translation>
    </message>
    <message>
        <source>加载中请等待...</source>
        <translation>Loading...</translation>
    </message>
    <message>
        <source>正在播放</source>
        <translation>Playing</translation>
    </message>
    <message>
        <source>暂停</source>
        <translation>Paused</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stopped</translation>
    </message>
    <message>
        <source>视频或图片文件</source>
        <translation>Videos or pictures</translation>
    </message>
    <message>
        <source>请选择目录</source>
        <translation>Choose a folder</translation>
    </message>
    <message>
        <source>请输入密码</source>
        <translation>Please enter the password.</translation>
    </message>
    <message>
        <source>密码只能由数字和字母组成,长度6至16位</source>
        <translation>The password must be 6 to 16 letters and digits.</translation>
    </message>
    <message>
        <source>请选择要加密的文件或目录.</source>
        <translation>Please choose the file or folder to encrypt.</translation>
    </message>
    <message>
        <source>请选择要保存的目录.</source>
        <translation>Please choose the folder to save to.</translation>
    </message>
    <message>
        <source>启动水印功能，您必须填入水印内容。</source>
        <translation>To show a watermark, please enter its text.</translation>
    </message>
    <message>
        <source>加密文件成功!请到保存目录下查看.</source>
        <translation>The file was encrypted. You will find it in the save folder.</translation>
    </message>
    <message>
        <source>加密文件失败!确保磁盘是否足够。在加密过程中不能删除源文件。</source>
        <translation>Encrypting the file failed. Make sure the disk has enough space, and do not delete the source file while it is being encrypted.</translation>
    </message>
    <message>
        <source>加密 %d 个文件成功!请到保存目录下查看.</source>
        <translation>%d files were encrypted. You will find them in the save folder.</translation>
    </message>
    <message>
        <source>正在加密文件。要取消加密并关闭窗口吗?</source>
        <translation>Files are being encrypted. Cancel and close the window?</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>正在取消</source>
        <translation>Cancelling</translation>
    </message>
    <message>
        <source>正在取消, 未完成的文件将被删除...</source>
        <translation>Cancelling; unfinished files will be deleted...</translation>
    </message>
    <message>
        <source>正在查找要加密的文件...</source>
        <translation>Looking for files to encrypt...</translation>
    </message>
    <message>
        <source>已完成 %1/%2 个文件 · %3 / %4 · 正在加密 %5</source>
        <translation>%1/%2 files done · %3 / %4 · encrypting %5</translation>
    </message>
    <message>
        <source>旧版播放器也能播放，但保护较弱</source>
        <translation>Older players play it; weaker protection</translation>
    </message>
    <message>
        <source>标准 age 加密，旧版播放器打不开</source>
        <translation>Standard age encryption; not older players</translation>
    </message>
</context>
</TS>
